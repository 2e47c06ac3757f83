#include "viewer/FrmViewer.h"
#include "database/Schema.h"

#include "images/ImageLinks.h"
#include "images/PictureLoader.h"
#include "services/MWindow.h"
#include "services/Program.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <cmath>

namespace {

// Places of the list and the buttons above the picture, in twips.
constexpr QRect kList{240, 120, 4575, 900};
constexpr int kButtonWidth = 1320;
constexpr int kButtonHeight = 375;
constexpr int kButtonColumns[] = {4935, 6375};
constexpr int kButtonRows[] = {120, 600};

}  // namespace

const QString FrmViewer::kAddFilter = QStringLiteral(
    "All Supported Image Files (*.jpg *.jpeg *.gif *.bmp *.dib *.ico *.wmf *.emf *.png *.tif "
    "*.tiff *.webp);;JPEG (*.jpg);;GIF (*.gif);;Windows Bitmap (*.bmp);;Bitmap (*.dib);;"
    "Windows Icon (*.ico);;Windows Metafile (*.wmf);;Enhanced Metafile (*.emf);;"
    "PNG (*.png);;TIFF (*.tif *.tiff);;WebP (*.webp)");

FrmViewer::FrmViewer(Program& program, QWidget* parent)
    : QWidget(parent, Qt::Window), m_program(program), m_area(workArea()) {
    setObjectName(QStringLiteral("frmViewer"));
    buildForm();
    setFormSize({viewer::kDefaultWidth, viewer::kHeightWithoutPicture});
}

FrmViewer::~FrmViewer() = default;

int FrmViewer::px(int twips) const {
    return int(std::lround(twips / m_area.twipsPerPixelX));
}

int FrmViewer::py(int twips) const {
    return int(std::lround(twips / m_area.twipsPerPixelY));
}

QRect FrmViewer::pixels(const QRect& twips) const {
    return {px(twips.left()), py(twips.top()), px(twips.width()), py(twips.height())};
}

void FrmViewer::buildForm() {
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(pixels(kList));
    connect(List1, &QListWidget::itemDoubleClicked, this,
            [this] { ShowImage(List1->currentRow()); });

    const std::tuple<QPushButton**, const char*, const char*, int, int> buttons[] = {
        {&cmdAdd, "cmdAdd", "&Add >>>", 0, 0},
        {&cmdDelete, "cmdDelete", "&Delete <<<", 1, 0},
        {&cmdView, "cmdView", "&View Image", 0, 1},
        {&cmdClose, "cmdClose", "&Close", 1, 1},
    };
    for (const auto& [member, name, caption, row, column] : buttons) {
        *member = new QPushButton(QString::fromUtf8(caption), this);
        (*member)->setObjectName(QLatin1String(name));
        (*member)->setAutoDefault(false);
        (*member)->setGeometry(
            pixels({kButtonColumns[column], kButtonRows[row], kButtonWidth, kButtonHeight}));
    }
    connect(cmdAdd, &QPushButton::clicked, this, &FrmViewer::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &FrmViewer::cmdDelete_Click);
    connect(cmdView, &QPushButton::clicked, this, [this] { ShowImage(List1->currentRow()); });
    connect(cmdClose, &QPushButton::clicked, this, &FrmViewer::unload);

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(pixels(viewer::kFrame));
    Image1 = new QLabel(Picture1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(pixels(viewer::kHorizontalBar));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setGeometry(pixels(viewer::kVerticalBar));
    for (QScrollBar* bar : {HScroll1, VScroll1}) {
        // The picture moves when a bar's value is set, not while its thumb is dragged.
        bar->setTracking(false);
        bar->hide();
    }
    connect(HScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { Image1->move(-value, Image1->y()); });
    connect(VScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { Image1->move(Image1->x(), -value); });
}

void FrmViewer::setFormSize(QSize twips) {
    m_formTwips = twips;
    applyFormSize();
}

void FrmViewer::applyFormSize() {
    // Before the window manager has framed the window, its frame is not known: the size is set
    // again once it is.
    m_frameMargins = frameGeometry().size() - geometry().size();
    const QSize outer(px(m_formTwips.width()), py(m_formTwips.height()));
    setFixedSize((outer - m_frameMargins).expandedTo(QSize(1, 1)));
    // A window grown for a large picture is moved back onto the desktop, no further than needed,
    // so that its scroll bars can be reached.
    const QScreen* shownOn = screen();
    if (!shownOn) {
        return;
    }
    const QRect area = shownOn->availableGeometry();
    const QPoint at = frameGeometry().topLeft();
    const QPoint inside(std::max(area.left(), std::min(at.x(), area.right() + 1 - outer.width())),
                        std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outer.height())));
    if (inside != at) {
        move(inside);
    }
}

void FrmViewer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (frameGeometry().size() - geometry().size() != m_frameMargins) {
        applyFormSize();
    }
}

void FrmViewer::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (frameGeometry().size() - geometry().size() != m_frameMargins) {
        applyFormSize();
    }
}

void FrmViewer::showError(int number, const QString& description, const QString& title) {
    m_program.dialogs.msgBox(QStringLiteral("Error %1:\n%2").arg(number).arg(description),
                             mb::Critical | mb::OKOnly, title);
}

bool FrmViewer::Form_Load() {
    formPosition(this, false, *m_program.gobjSettings);
    m_area = workArea();
    Recordset* records = m_program.grsBirdList.get();
    QString stored;
    if (records && records->isOpen() && records->absolutePosition() >= 0) {
        setWindowTitle(QStringLiteral("Plovix Image Viewer - Sighting Number %1")
                           .arg(records->absolutePosition() + 1));
        QVariant value;
        if (DbError error = records->getValue(field::Images, value)) {
            // Links that could not be read are never written back over the stored ones.
            showError(error.number, error.description,
                      QStringLiteral("Image Viewer Loading Error"));
            return false;
        }
        m_sighting = records->bookmark();
        stored = nullToEmpty(value);
    }
    m_linksRead = links::read(stored);
    List1->addItems(m_linksRead);
    ShowImage(List1->count() > 0 ? 0 : -1);
    return true;
}

void FrmViewer::cmdAdd_Click() {
    const std::optional<QString> chosen =
        m_program.dialogs.showOpen(QStringLiteral("Add An Image Link"), kAddFilter);
    if (chosen && !chosen->isEmpty() && !links::storable(*chosen)) {
        m_program.dialogs.msgBox(
            QStringLiteral("The file name or folder contains a comma, which an image link "
                           "cannot hold:\n%1\n\nPlease rename the file or its folder, or copy "
                           "the picture to a folder whose name has no comma, and add it again.")
                .arg(*chosen),
            mb::Exclamation | mb::OKOnly, QStringLiteral("Image Link Not Added"));
    } else if (chosen && !chosen->isEmpty()) {
        List1->addItem(*chosen);
        ShowImage(List1->count() - 1);
        show();
        raise();
        activateWindow();
        return;
    }
    if (blnAddMode) {
        unload();
    }
}

void FrmViewer::cmdDelete_Click() {
    // The link selected: a Ctrl+click on the highlighted link leaves it current but selects
    // nothing.
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    const int idx = selected.isEmpty() ? -1 : List1->row(selected.first());
    if (idx < 0) {
        m_program.dialogs.msgBox(QStringLiteral("Please select an image link to delete."),
                                 mb::Exclamation | mb::OKOnly, QStringLiteral("No Link Selected"));
        return;
    }
    delete List1->takeItem(idx);
    // The link shown went, or none was shown: the link before it, or the new first, is shown.
    if (mintCurrent == idx || mintCurrent < 0) {
        ShowImage(idx > 0 ? idx - 1 : (List1->count() > 0 ? 0 : -1));
        return;
    }
    // Another link went: the same picture stays shown.
    if (mintCurrent > idx) {
        --mintCurrent;
    }
    List1->setCurrentRow(mintCurrent);
    ShowImage(mintCurrent);
}

void FrmViewer::ShowImage(int index) {
    if (index < 0) {
        Image1->clear();
        setFormSize({viewer::kDefaultWidth, viewer::kHeightWithoutPicture});
        cmdDelete->setEnabled(false);
        cmdView->setEnabled(false);
        mintCurrent = index;
        return;
    }
    Picture1->hide();
    VScroll1->hide();
    HScroll1->hide();
    List1->setCurrentRow(index);
    const LoadedPicture picture = loadPicture(
        List1->item(index)->text(), 1440.0 / m_area.twipsPerPixelX, 1440.0 / m_area.twipsPerPixelY);
    if (picture.errorNumber == kFileNotFound) {
        m_program.dialogs.msgBox(
            picture.description +
                QStringLiteral("\nPlease check that the file name and location are correct."),
            mb::Critical | mb::OKOnly, QStringLiteral("Invalid File"));
        // The link, still selected, is removed, and the display moves on.
        cmdDelete_Click();
        return;
    }
    if (!picture.ok()) {
        showError(picture.errorNumber, picture.description, QStringLiteral("Image Loading Error"));
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(picture.image));
    Image1->setGeometry(QRect(QPoint(0, 0), picture.image.size()));
    const QSize twips(int(std::lround(picture.image.width() * m_area.twipsPerPixelX)),
                      int(std::lround(picture.image.height() * m_area.twipsPerPixelY)));
    placePicture(viewer::layoutFor(twips, m_area.twips));
    Picture1->show();
    cmdDelete->setEnabled(true);
    cmdView->setEnabled(true);
    mintCurrent = index;
}

void FrmViewer::placePicture(const viewer::Layout& layout) {
    // The frame takes the picture's own pixel size where it is not clipped, so that no rounding
    // cuts a line off.
    QRect frame = pixels(layout.frame);
    if (!layout.horizontal.shown) {
        frame.setWidth(Image1->width());
    }
    if (!layout.vertical.shown) {
        frame.setHeight(Image1->height());
    }
    Picture1->setGeometry(frame);
    const std::pair<QScrollBar*, const viewer::ScrollBar*> bars[] = {{HScroll1, &layout.horizontal},
                                                                     {VScroll1, &layout.vertical}};
    for (const auto& [bar, place] : bars) {
        if (!place->shown) {
            continue;
        }
        const bool across = bar == HScroll1;
        QRect where = pixels(place->place);
        // Flush with the frame: under it, or right of it.
        if (across) {
            where = QRect(frame.left(), frame.bottom() + 1, frame.width(), where.height());
        } else {
            where = QRect(frame.right() + 1, frame.top(), where.width(), frame.height());
        }
        bar->setGeometry(where);
        const int page = across ? frame.width() : frame.height();
        const int length = across ? Image1->width() : Image1->height();
        const QSignalBlocker blocker(bar);
        bar->setRange(0, std::max(0, length - page));
        bar->setPageStep(std::max(1, page));
        bar->setSingleStep(std::max(1, page / 10));
        bar->setValue(0);
        bar->show();
    }
    setFormSize(layout.form);
}

void FrmViewer::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

void FrmViewer::unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    Form_Unload();
    hide();
    deleteLater();
}

void FrmViewer::Form_Unload() {
    formPosition(this, true, *m_program.gobjSettings);
    QStringList paths;
    for (int i = 0; i < List1->count(); ++i) {
        paths.append(List1->item(i)->text());
    }
    Recordset* records = m_program.grsBirdList.get();
    // The stored value stays as it is, however it was written, unless the links changed.
    if (!m_sighting.isValid() || !records || !records->isOpen() || paths == m_linksRead) {
        return;
    }
    const QString stored = links::write(paths);
    DbError error;
    if (records->bookmark() == m_sighting && records->editMode() == Recordset::EditMode::None) {
        // The record form still shows the sighting: it sees the links at once.
        if (!(error = records->edit()) && !(error = records->setValue(field::Images, stored))) {
            error = records->update();
        }
        if (error) {
            records->cancelUpdate();
        } else {
            emit linksStored();
        }
    } else if (m_program.gdbBirdList) {
        error = m_program.gdbBirdList->execute(
            QStringLiteral("UPDATE \"Bird List\" SET Images = ? WHERE Number = ?"),
            {stored, m_sighting});
    }
    if (error) {
        showError(error.number, error.description, QStringLiteral("Image Viewer Unloading Error"));
    }
}
