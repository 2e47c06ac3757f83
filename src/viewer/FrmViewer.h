#pragma once

#include "images/ViewerLayout.h"
#include "services/MWindow.h"

#include <QVariant>
#include <QWidget>

class Program;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;

// The image viewer: a modeless window that belongs to one sighting. It lists the sighting's
// picture links, adds and removes links, and shows a picture at its natural size in a window
// fitted to the desktop, with scroll bars when the picture is larger. Its list is the working
// copy of the links; it is written back to the sighting when the viewer unloads.
class FrmViewer : public QWidget {
    Q_OBJECT
public:
    // The file types offered when a link is added, the first chosen.
    static const QString kAddFilter;

    FrmViewer(Program& program, QWidget* parent);
    ~FrmViewer() override;

    // Reads the links of the record form's current sighting and shows the first picture, without
    // showing the window. False (told to the user) when the links cannot be read: the viewer
    // then writes nothing back.
    bool Form_Load();
    // Adds a link through the open dialog; the window is shown with the new picture.
    void cmdAdd_Click();
    // Writes the links back to the sighting and releases the window.
    void unload();
    bool unloaded() const { return m_unloaded; }

    // Set when the viewer was loaded only to add a link: a cancelled Add then closes it.
    bool blnAddMode = false;

signals:
    // The links were written back to the sighting shown on the record form.
    void linksStored();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void buildForm();
    int px(int twips) const;
    int py(int twips) const;
    QRect pixels(const QRect& twips) const;
    // Sizes the window, frame and title bar included, to `twips`.
    void setFormSize(QSize twips);
    void applyFormSize();

    // A failure in a message box: "Error <number>:", a line break, the description.
    void showError(int number, const QString& description, const QString& title);
    void ShowImage(int index);
    void placePicture(const viewer::Layout& layout);
    void cmdDelete_Click();
    void Form_Unload();

    Program& m_program;
    WorkArea m_area;
    QVariant m_sighting;      // the bookmark of the sighting the links belong to
    QStringList m_linksRead;  // as they were read: a list nobody changed is not written back
    QSize m_formTwips;
    QSize m_frameMargins;  // the window frame's share of the window's size
    bool m_unloaded = false;
    int mintCurrent = -1;

    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* cmdView = nullptr;
    QPushButton* cmdClose = nullptr;
    QWidget* Picture1 = nullptr;
    QLabel* Image1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
};
