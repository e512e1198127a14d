// The frame shared by the Preferences and analysis dialogs: a gray outer
// dialog with an OK and a Cancel/Exit button, a tab control over it and one
// page per tab, switched by hiding the old page and showing the new one.
#pragma once

#include "dialogs/controls.h"

#include <QDialog>
#include <functional>
#include <vector>

class QTabBar;

// The tab control: a strip of tabs over a framed pane; pages are its
// children, placed in the pane by their own templates.
class TabControl : public QWidget {
public:
    explicit TabControl(QWidget* parent);
    QTabBar* Bar() const { return bar_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* bar_;
};

class TabFrame : public QDialog {
public:
    // Ids of the two buttons of the outer template.
    enum { IDC_OK = 100, IDC_CANCEL = 101 };

    TabFrame(QWidget* owner, const QString& caption, const char* szOk, const char* szCancel);

    // Adds a tab with its page. The page is created hidden, as a child of the
    // tab control, from its template placed at (4, 20), 234 x 202 units.
    DlgPage* AddPage(const char* szTabText, int nPointSize);
    // Shows page nIndex first, before the user switches anything.
    void ShowFirstPage(int nIndex);
    // Creates the buttons; called after the pages so that they lie over the
    // tab control and come last in the Tab order.
    void FinishButtons();

    // False, after showing the box's page, focusing the box and saying why,
    // when the box's text does not fit a field of nCapacity bytes (with the
    // closing slash a directory gets when bDir).
    bool CheckFieldBox(int nPage, int nId, std::size_t nCapacity, bool bDir, const char* szName);

    // Shows the open dialog in front, as a second command to open it does.
    void BringToFront();
    // Hides the dialog and lets the event loop delete it.
    void Discard();

    TabControl* Tabs() const { return tabs_; }
    DlgPage* Page(int nIndex) const { return pages_.at(static_cast<std::size_t>(nIndex)); }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int iTabOld = 0; // the page shown now

    // Button and close-box handling, set by the dialog module.
    std::function<void()> onOk;
    std::function<void()> onCancel; // Cancel or Exit button, Escape and the close box
    std::function<void(int nNewTab)> onPageShown;
    // The template's own text controls and units, for extra controls.
    DialogBaseUnits Units() const { return units_; }

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnSelChange(int nNewTab);

    DialogBaseUnits units_;
    TabControl* tabs_;
    std::vector<DlgPage*> pages_;
    const char* szOk_;
    const char* szCancel_;
};
