#include "mainwindow/filelistbox.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {
// Every entry one line high in the list's font, so the list can keep whole
// rows.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(FileListBox* list) : QStyledItemDelegate(list), m_list(list) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_list->RowHeight()};
    }

private:
    FileListBox* m_list;
};
} // namespace

class FileListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_names.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return Text(index.row());
        return {};
    }
    void Reset(std::vector<std::string> names) {
        beginResetModel();
        m_names = std::move(names);
        endResetModel();
    }
    const std::string& Name(int nRow) const { return m_names[static_cast<std::size_t>(nRow)]; }
    QString Text(int nRow) const {
        const std::string& s = Name(nRow);
        return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
    }

private:
    std::vector<std::string> m_names;
};

FileListBox::FileListBox(QWidget* parent) : QListView(parent), m_model(new FileListModel(this)) {
    setModel(m_model);
    setItemDelegate(new RowDelegate(this));
    // Every entry is one line of the same font: the view need not measure
    // each of them to lay the list out.
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_bQuiet && CurSel() >= 0)
            emit EntrySelected();
    });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit EntryActivated(index.row()); });
}

int FileListBox::RowHeight() const {
    return fontMetrics().height() + 2;
}

void FileListBox::Place(const QRect& rc) {
    m_asked = rc;
    const int nFrame = 2 * frameWidth();
    const int nRow = RowHeight();
    const int nRows = std::max(1, (rc.height() - nFrame) / nRow);
    setGeometry(rc.x(), rc.y(), rc.width(), std::min(rc.height(), nFrame + nRows * nRow));
}

void FileListBox::changeEvent(QEvent* e) {
    QListView::changeEvent(e);
    if (e->type() == QEvent::FontChange && m_asked.isValid()) {
        Place(m_asked);
        scheduleDelayedItemsLayout();
    }
}

void FileListBox::focusInEvent(QFocusEvent* e) {
    QListView::focusInEvent(e);
    // Coming into the list, a screen reader hears the chosen entry, not
    // only the list's name.
    const int nRow = CurSel();
    if (nRow >= 0 && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(nRow);
        QAccessible::updateAccessibility(&event);
    }
}

void FileListBox::SetEntries(std::vector<std::string> names) {
    m_bQuiet = true;
    m_model->Reset(std::move(names));
    m_bQuiet = false;
}

int FileListBox::count() const {
    return m_model->rowCount();
}

const std::string& FileListBox::Name(int nRow) const {
    return m_model->Name(nRow);
}

int FileListBox::CurSel() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FileListBox::SetCurSel(int nRow) {
    m_bQuiet = true;
    if (nRow >= 0 && nRow < count())
        setCurrentRow(nRow);
    else
        selectionModel()->clear();
    m_bQuiet = false;
}

void FileListBox::setCurrentRow(int nRow) {
    setCurrentIndex(m_model->index(nRow));
}
