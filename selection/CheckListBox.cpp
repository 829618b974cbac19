#include "selection/CheckListBox.h"

#include "selection/Names.h"

#include <QAbstractListModel>
#include <QMouseEvent>
#include <QStyle>

#include <cstddef>
#include <utility>

// The lines, their ticks and the one line height.
class TCheckListModel : public QAbstractListModel {
public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(lines.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) {
            return {};
        }
        const auto row = static_cast<std::size_t>(index.row());
        switch (role) {
            case Qt::DisplayRole:
                return FromName(lines[row]);
            case Qt::CheckStateRole:
                return ticks[row] != 0 ? Qt::Checked : Qt::Unchecked;
            case Qt::SizeHintRole:
                // As wide as the view: a long name is elided rather than scrolled.
                return QSize(1, itemHeight);
            default:
                return {};
        }
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::CheckStateRole) {
            return false;
        }
        ticks[static_cast<std::size_t>(index.row())] = value.toInt() == Qt::Checked ? 1 : 0;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) {
            return Qt::NoItemFlags;
        }
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
               Qt::ItemNeverHasChildren;
    }

    void Reset(std::vector<std::string> newLines) {
        beginResetModel();
        lines = std::move(newLines);
        ticks.assign(lines.size(), 0);
        endResetModel();
    }

    void TickAll(bool checked) {
        ticks.assign(lines.size(), checked ? 1 : 0);
        if (!lines.empty()) {
            emit dataChanged(index(0), index(static_cast<int>(lines.size()) - 1),
                             {Qt::CheckStateRole});
        }
    }

    void ChangeLayout() {
        emit layoutAboutToBeChanged();
        emit layoutChanged();
    }

    std::vector<std::string> lines;
    std::vector<char> ticks;
    int itemHeight = 16;
};

TCheckListBox::TCheckListBox(QWidget* parent)
    : QListView(parent), m_model(std::make_unique<TCheckListModel>()) {
    setModel(m_model.get());
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

TCheckListBox::~TCheckListBox() {
    // The view lets go of the model before the model goes.
    setModel(nullptr);
}

int TCheckListBox::Count() const { return m_model->rowCount(); }

void TCheckListBox::SetLines(std::vector<std::string> lines) { m_model->Reset(std::move(lines)); }

const std::string& TCheckListBox::Line(int row) const {
    return m_model->lines.at(static_cast<std::size_t>(row));
}

bool TCheckListBox::Checked(int row) const {
    return m_model->ticks.at(static_cast<std::size_t>(row)) != 0;
}

void TCheckListBox::SetChecked(int row, bool checked) {
    m_model->setData(m_model->index(row), checked ? Qt::Checked : Qt::Unchecked,
                     Qt::CheckStateRole);
}

void TCheckListBox::SetAllChecked(bool checked) { m_model->TickAll(checked); }

int TCheckListBox::ItemIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

int TCheckListBox::ItemHeight() const { return m_model->itemHeight; }

void TCheckListBox::SetItemHeight(int height) {
    m_model->itemHeight = height;
    m_model->ChangeLayout();
}

void TCheckListBox::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    emit MouseDown(event->button(), event->position().toPoint(),
                   OnTickBox(event->position().toPoint()));
}

void TCheckListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    emit MouseDown(event->button(), event->position().toPoint(),
                   OnTickBox(event->position().toPoint()));
}

bool TCheckListBox::OnTickBox(QPoint position) const {
    const QModelIndex index = indexAt(position);
    if (!index.isValid()) {
        return false;
    }
    // Where the item delegate draws the tick box and takes its clicks.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.index = index;
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    return style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this)
        .contains(position);
}
