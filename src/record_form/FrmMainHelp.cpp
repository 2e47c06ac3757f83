// The Help menu: the help window at its contents or at a topic, the maker's web site in the
// browser and the About box.
#include "record_form/FrmMain.h"

#include "help/FrmAbout.h"
#include "help/FrmHelp.h"
#include "services/Program.h"

namespace {

const QString kNoBrowser = QStringLiteral(
    "An error has occurred trying to access the internet.  Please check your browser settings "
    "and internet connection and try again.");

}  // namespace

void FrmMain::openWebAddress(const QUrl& url) {
    if (!m_program.shell.openUrl(url)) {
        m_program.dialogs.msgBox(kNoBrowser, mb::Exclamation);
    }
}

FrmHelp* FrmMain::helpWindow() {
    // A window of its own beside the form, not kept above it; it goes when the form does.
    if (!m_help) {
        m_help = new FrmHelp(m_helpFile, [this](const QUrl& url) { openWebAddress(url); });
    }
    return m_help;
}

void FrmMain::mnuHelpContents_Click() {
    helpWindow()->showContents();
}

void FrmMain::mnuHelpOverview_Click() {
    helpWindow()->showTopic(QStringLiteral("Plovix Overview"));
}

void FrmMain::mnuHelpLicense_Click() {
    helpWindow()->showTopic(QStringLiteral("License Agreement"));
}

void FrmMain::mnuHelpWebSite_Click() {
    openWebAddress(QUrl(m_program.app.webSite));
}

void FrmMain::mnuHelpAbout_Click() {
    FrmAbout frmAbout(m_program.app, m_program.clock, this);
    frmAbout.Form_Load();
    frmAbout.exec();
}
