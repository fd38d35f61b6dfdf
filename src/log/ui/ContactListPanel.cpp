#include "log/ui/ContactListPanel.h"

#include "ui/FormScaler.h"

#include <QEvent>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTableView>

namespace corvane {

namespace {

QString fromLatin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr double kCaptionTwips = 300.0;
constexpr double kButtonRowTwips = 420.0;
// The list's own text size: seven columns of the widths above hold a five-digit record
// number and "mm/dd  hh:nn" at this size.
constexpr double kListFontPoints = 7.5;

// Draws a cell's text from a cache of laid-out texts. A logged contact shifts every row
// on screen down by one, so nearly every text drawn after it was drawn before; laying
// the texts out again each time (as the stock delegate does, eliding them as well) is
// what made a logged contact cost milliseconds. The columns are wide enough for their
// texts, so nothing is elided.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        if (!(option.state & QStyle::State_Enabled)) {
            group = QPalette::Disabled;
        }
        if (selected) {
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        }
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.isEmpty()) {
            return;
        }
        const QStaticText& laidOut = cached(text, option.font);
        const int margin = option.widget ? option.widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1 : 3;
        const qreal top = option.rect.top() + (option.rect.height() - laidOut.size().height()) / 2;
        painter->save();
        painter->setClipRect(option.rect);
        painter->setFont(option.font);
        painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawStaticText(QPointF(option.rect.left() + margin, top), laidOut);
        painter->restore();
    }

private:
    const QStaticText& cached(const QString& text, const QFont& font) const {
        if (font != m_font || m_texts.size() > kMostTexts) {
            m_texts.clear();
            m_font = font;
        }
        auto it = m_texts.find(text);
        if (it == m_texts.end()) {
            QStaticText laidOut(text);
            laidOut.setTextFormat(Qt::PlainText);
            laidOut.prepare(QTransform(), font);
            it = m_texts.insert(text, laidOut);
        }
        return *it;
    }

    static constexpr qsizetype kMostTexts = 4000;
    mutable QFont m_font;
    mutable QHash<QString, QStaticText> m_texts;
};

} // namespace

// ---------------------------------------------------------------- model

ContactListModel::ContactListModel(const ContactLog& log, QObject* parent) : QAbstractTableModel(parent), m_log(log) {
    m_rows.rebuild(m_log.qsoCount());
}

int ContactListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int ContactListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kListColumnCount;
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    const int record = m_rows.recordAt(index.row());
    if (record < 1 || record > m_log.qsoCount()) {
        return {};
    }
    return fromLatin1(listCellText(m_log.record(record), record, static_cast<ListColumn>(index.column())));
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kListColumnCount) {
        return {};
    }
    return fromLatin1(listColumns()[static_cast<std::size_t>(section)].header);
}

void ContactListModel::rebuild() {
    beginResetModel();
    m_rows.rebuild(m_log.qsoCount());
    endResetModel();
}

void ContactListModel::contactLogged() {
    const ContactListRows::AppendPlan plan = m_rows.planAppend(m_log.qsoCount());
    if (plan.reset) {
        rebuild();
        return;
    }
    if (plan.removeLastRow) {
        const int last = m_rows.rowCount() - 1;
        beginRemoveRows({}, last, last);
        m_rows.removeLastRow();
        endRemoveRows();
    }
    beginInsertRows({}, 0, 0);
    m_rows.insertNewestRow();
    endInsertRows();
}

void ContactListModel::setListAll(bool listAll) {
    beginResetModel();
    m_rows.setListAll(listAll);
    m_rows.rebuild(m_log.qsoCount());
    endResetModel();
}

void ContactListModel::sortByColumn(int column) {
    if (column < 0 || column >= kListColumnCount) {
        return;
    }
    beginResetModel();
    m_rows.sortByColumn(m_log, static_cast<ListColumn>(column));
    endResetModel();
}

// ---------------------------------------------------------------- panel

ContactListPanel::ContactListPanel(const ContactLog& log, const TwipRect& design, QWidget* parent)
    : QWidget(parent), m_log(log) {
    setObjectName(QStringLiteral("contactList"));
    FormScaler::place(this, design, 8.25);

    m_caption = new QLabel(QStringLiteral("Recent Contacts"), this);
    m_caption->setObjectName(QStringLiteral("lblRecentContacts"));
    FormScaler::place(m_caption, {0, 0, design.width - 1300, kCaptionTwips - 40}, 8.25);

    m_list = new QPushButton(fromLatin1(listModeCaption(false)), this);
    m_list->setObjectName(QStringLiteral("cmdList"));
    m_list->setToolTip(QString::fromLatin1(kListModeTip));
    m_list->setAccessibleDescription(QString::fromLatin1(kListModeTip));
    m_list->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(m_list, {design.width - 1200, 0, 1200, kCaptionTwips - 40}, 8.25);
    connect(m_list, &QPushButton::clicked, this, &ContactListPanel::toggleListAll);

    m_model = new ContactListModel(log, this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("ListView1"));
    m_view->setToolTip(QString::fromLatin1(kListTip));
    m_view->setAccessibleName(QStringLiteral("Recent contacts"));
    m_view->setAccessibleDescription(QString::fromLatin1(kListTip));
    m_view->setModel(m_model);
    m_view->setItemDelegate(new CellDelegate(m_view));
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->setTabKeyNavigation(false);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSortingEnabled(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setMinimumSectionSize(1);
    QHeaderView* header = m_view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    FormScaler::place(m_view, {0, kCaptionTwips, design.width, design.height - kCaptionTwips - kButtonRowTwips},
                      kListFontPoints);
    fitRowsToFont();
    const auto& columns = listColumns();
    FormScaler::setColumnWidths(m_view, {double(columns[0].widthTwips), double(columns[1].widthTwips),
                                         double(columns[2].widthTwips), double(columns[3].widthTwips),
                                         double(columns[4].widthTwips), double(columns[5].widthTwips),
                                         double(columns[6].widthTwips)});
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        m_model->sortByColumn(column);
        m_editedIndex = 0;
        hideEditButtons();
    });
    connect(m_view, &QTableView::clicked, this, &ContactListPanel::rowClicked);
    // A row chosen with the keys counts as well as a clicked one.
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    m_editedIndex = m_model->recordAt(current.row());
                }
            });
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);

    const double buttonTop = design.height - kButtonRowTwips + 40;
    m_edit = new QPushButton(QStringLiteral("Edit Contact"), this);
    m_edit->setObjectName(QStringLiteral("cmdEdit"));
    m_edit->setAccessibleDescription(QStringLiteral("Opens the chosen contact for editing"));
    FormScaler::place(m_edit, {0, buttonTop, 1500, kButtonRowTwips - 60}, 8.25);
    connect(m_edit, &QPushButton::clicked, this, [this] {
        if (m_editedIndex > 0) {
            emit editRequested(m_editedIndex);
        }
    });
    m_delete = new QPushButton(QStringLiteral("Delete Contact"), this);
    m_delete->setObjectName(QStringLiteral("cmdDelete"));
    m_delete->setAccessibleDescription(QStringLiteral("Deletes the chosen contact from the log"));
    FormScaler::place(m_delete, {1620, buttonTop, 1500, kButtonRowTwips - 60}, 8.25);
    connect(m_delete, &QPushButton::clicked, this, [this] {
        if (m_editedIndex > 0) {
            emit deleteRequested(m_editedIndex);
        }
    });
    hideEditButtons();
}

void ContactListPanel::rebuild() {
    m_model->rebuild();
    m_editedIndex = 0;
    hideEditButtons();
}

void ContactListPanel::contactLogged() {
    m_model->contactLogged();
}

// Rows as high as the list's text, whatever size the scaling gave it.
void ContactListPanel::fitRowsToFont() {
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
}

void ContactListPanel::hideEditButtons() {
    m_edit->setVisible(false);
    m_delete->setVisible(false);
}

void ContactListPanel::showEditButtons() {
    if (m_model->rowCount() > 0 && m_editedIndex > 0) {
        m_edit->setVisible(true);
        m_delete->setVisible(true);
    }
}

void ContactListPanel::toggleListAll() {
    m_model->setListAll(!m_model->listAll());
    m_list->setText(fromLatin1(listModeCaption(m_model->listAll())));
    m_editedIndex = 0;
    hideEditButtons();
    emit focusCallRequested();
}

void ContactListPanel::rowClicked(const QModelIndex& index) {
    if (index.isValid()) {
        m_editedIndex = m_model->recordAt(index.row());
    }
    showEditButtons();
}

std::vector<std::vector<std::string>> ContactListPanel::rowsAsText() const {
    std::vector<std::vector<std::string>> rows;
    const int n = m_model->rowCount();
    rows.reserve(static_cast<std::size_t>(n));
    for (int row = 0; row < n; ++row) {
        const auto texts = listRowTexts(m_log, m_model->recordAt(row));
        rows.emplace_back(texts.begin(), texts.end());
    }
    return rows;
}

std::vector<std::string> ContactListPanel::headers() {
    std::vector<std::string> out;
    for (const auto& c : listColumns()) {
        out.emplace_back(c.header);
    }
    return out;
}

bool ContactListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::FontChange) {
        fitRowsToFont();
    } else if (watched == m_view && event->type() == QEvent::FocusOut) {
        showEditButtons();
    } else if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && m_model->rowCount() > 0) {
            const QModelIndex index = m_view->indexAt(mouse->position().toPoint());
            if (index.isValid()) {
                m_editedIndex = m_model->recordAt(index.row());
            }
            if (m_editedIndex > 0) {
                emit editRequested(m_editedIndex);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace corvane
