// One file list of the main window: a list view over the names of a folder.
// The names are kept as their bytes and shown decoded only when painted, so
// a refill of thousands of entries is one model reset.
#pragma once

#include <QListView>
#include <QString>
#include <string>
#include <vector>

class FileListModel;

class FileListBox : public QListView {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Places the list in rc, shrunk to a whole number of rows as a list box
    // is, so no entry shows cut and what lies below stays free. Kept so
    // whenever the font changes.
    void Place(const QRect& rc);
    // The height of one entry in the list's font.
    int RowHeight() const;

    // Replaces every entry at once; the selection and current row go.
    void SetEntries(std::vector<std::string> names);

    int count() const;
    // The listed name's own bytes, whatever their encoding.
    const std::string& Name(int nRow) const;

    // The selected row, or -1.
    int CurSel() const;
    // Selects nRow (any other value clears the selection) without telling.
    void SetCurSel(int nRow);
    // Makes nRow current and selects it, as a click does, telling as a click.
    void setCurrentRow(int nRow);

protected:
    void changeEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

signals:
    // The user (or setCurrentRow) selected an entry.
    void EntrySelected();
    void EntryActivated(int nRow);

private:
    FileListModel* m_model;
    QRect m_asked;
    bool m_bQuiet = false;
};
