#include "mainwindow/filelistbox.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>

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
