#include "ui/LayoutCheck.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace corvane::test {

namespace {

class Report {
public:
    explicit Report(const QWidget* window) : m_window(window) {}

    void add(const QWidget* control, const QString& what) {
        m_lines.push_back(QStringLiteral("%1 / %2: %3").arg(nameOf(m_window), nameOf(control), what).toStdString());
    }
    std::vector<std::string> take() { return std::move(m_lines); }

    static QString nameOf(const QWidget* w) {
        QString name = w->objectName();
        if (name.isEmpty()) {
            name = QString::fromLatin1(w->metaObject()->className());
            if (const auto* label = qobject_cast<const QLabel*>(w)) {
                name += QStringLiteral(" \"%1\"").arg(label->text().left(40));
            } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
                name += QStringLiteral(" \"%1\"").arg(button->text());
            }
        }
        return name;
    }

private:
    const QWidget* m_window;
    std::vector<std::string> m_lines;
};

int widthOf(const QFont& font, const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

int heightOf(const QFont& font) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).height()));
}

// The text a control shows when '&' marks its shortcut letter.
QString withoutMnemonic(QString text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i; // "&&" shows one '&'; "&x" shows x underlined
        }
        out += text[i];
    }
    return out;
}

QString roomText(int needed, int room) {
    return QStringLiteral("needs %1 px, has %2 px").arg(needed).arg(room);
}

void checkLabel(const QLabel* label, Report& report) {
    if (label->text().isEmpty() || !label->pixmap().isNull()) {
        return;
    }
    const QFont& font = label->font();
    QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0) {
        indent = widthOf(font, QStringLiteral("x")) / 2;
    }
    if (indent > 0 && !(label->alignment() & Qt::AlignHCenter)) {
        room.setWidth(room.width() - indent);
    }
    const QString text = label->buddy() ? withoutMnemonic(label->text()) : label->text();
    const bool rich =
        label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(font);
        doc.setDocumentMargin(0);
        doc.setHtml(text);
        if (label->wordWrap()) {
            doc.setTextWidth(room.width());
        }
        const int width = static_cast<int>(std::ceil(doc.idealWidth()));
        const int height = static_cast<int>(std::ceil(doc.size().height()));
        if (width > room.width()) {
            report.add(label, QStringLiteral("text wider than the label: ") + roomText(width, room.width()));
        }
        if (height > room.height()) {
            report.add(label, QStringLiteral("text taller than the label: ") + roomText(height, room.height()));
        }
        return;
    }
    const QFontMetricsF metrics(font);
    if (label->wordWrap()) {
        const QRectF used = metrics.boundingRect(QRectF(0, 0, room.width(), 1e6),
                                                 Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
        if (std::ceil(used.width()) > room.width()) {
            report.add(label, QStringLiteral("a word is wider than the label: ") +
                                  roomText(static_cast<int>(std::ceil(used.width())), room.width()));
        }
        if (std::ceil(used.height()) > room.height()) {
            report.add(label, QStringLiteral("wrapped text taller than the label: ") +
                                  roomText(static_cast<int>(std::ceil(used.height())), room.height()));
        }
        return;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines) {
        widest = std::max(widest, widthOf(font, line));
    }
    if (widest > room.width()) {
        report.add(label, QStringLiteral("text \"%1\" clipped: ").arg(text) + roomText(widest, room.width()));
    }
    const int height = static_cast<int>(std::ceil(metrics.lineSpacing() * (lines.size() - 1) + metrics.height()));
    if (height > room.height()) {
        report.add(label,
                   QStringLiteral("text \"%1\" cut at the bottom: ").arg(text) + roomText(height, room.height()));
    }
}

void checkButton(const QAbstractButton* button, Report& report) {
    if (button->text().isEmpty()) {
        return;
    }
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    int iconRoom = 0;
    if (const auto* push = qobject_cast<const QPushButton*>(button)) {
        if (push->autoDefault()) {
            option.features |= QStyleOptionButton::AutoDefaultButton;
        }
        if (push->isDefault()) {
            option.features |= QStyleOptionButton::DefaultButton;
        }
        if (push->isFlat()) {
            option.features |= QStyleOptionButton::Flat;
        }
        if (!button->icon().isNull()) {
            iconRoom = button->iconSize().width() + 4;
        }
    } else if (qobject_cast<const QCheckBox*>(button)) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<const QRadioButton*>(button)) {
        contents = QStyle::SE_RadioButtonContents;
    } else {
        return;
    }
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const QString text = withoutMnemonic(button->text());
    const int needed = widthOf(button->font(), text) + iconRoom;
    if (needed > room.width()) {
        report.add(button, QStringLiteral("caption \"%1\" clipped: ").arg(text) + roomText(needed, room.width()));
    }
    const int height = heightOf(button->font());
    if (height > room.height()) {
        report.add(button,
                   QStringLiteral("caption \"%1\" cut at the bottom: ").arg(text) + roomText(height, room.height()));
    }
}

QRect groupTitleRect(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable()) {
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    }
    if (box->isFlat()) {
        option.features |= QStyleOptionFrame::Flat;
    }
    return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
}

void checkGroupBox(const QGroupBox* box, Report& report) {
    if (box->title().isEmpty()) {
        return;
    }
    // The style sizes the title's room to its text; it is clipped where the box ends.
    const QRect title = groupTitleRect(box);
    const QString text = withoutMnemonic(box->title());
    if (!box->rect().contains(title)) {
        report.add(box, QStringLiteral("title \"%1\" clipped: ").arg(text) + roomText(title.right() + 1, box->width()));
    }
    for (const QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && !child->isWindow() && child->geometry().intersects(title)) {
            report.add(child, QStringLiteral("covers the title \"%1\" of its group box").arg(text));
        }
    }
}

void checkHeader(const QHeaderView* header, Report& report) {
    if (header->orientation() != Qt::Horizontal || !header->model() || header->offset() != 0) {
        return;
    }
    const QStyle* style = header->style();
    const int margins =
        2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) +
        (header->isSortIndicatorShown() ? style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) : 0);
    const int edge = header->viewport()->width();
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section)) {
            continue;
        }
        const QString text = header->model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
        QFont font = header->font();
        const QVariant roleFont = header->model()->headerData(section, Qt::Horizontal, Qt::FontRole);
        if (roleFont.canConvert<QFont>()) {
            font = roleFont.value<QFont>().resolve(font);
        }
        const int needed = widthOf(font, text) + margins;
        const int size = header->sectionSize(section);
        if (needed > size) {
            report.add(header, QStringLiteral("column header \"%1\" clipped: ").arg(text) + roomText(needed, size));
        }
        const int right = header->sectionViewportPosition(section) + size;
        if (right > edge) {
            report.add(header, QStringLiteral("column \"%1\" runs off the right edge: ends at %2 px of %3 px")
                                   .arg(text)
                                   .arg(right)
                                   .arg(edge));
        }
    }
}

// The cells of the rows on screen: data is never cut short.
void checkCells(const QAbstractItemView* view, Report& report) {
    const QAbstractItemModel* model = view->model();
    if (!model) {
        return;
    }
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    const QRect shown = view->viewport()->rect();
    const auto* header = view->findChild<const QHeaderView*>();
    const QModelIndex first = view->indexAt(QPoint(1, 1));
    for (int row = first.isValid() ? first.row() : 0; row < model->rowCount(); ++row) {
        if (view->visualRect(model->index(row, 0)).top() > shown.bottom()) {
            break;
        }
        for (int column = 0; column < model->columnCount(); ++column) {
            if (header && header->orientation() == Qt::Horizontal && header->isSectionHidden(column)) {
                continue;
            }
            const QModelIndex index = model->index(row, column);
            const QRect cell = view->visualRect(index);
            if (!cell.isValid() || !cell.intersects(shown)) {
                continue;
            }
            const QString text = model->data(index, Qt::DisplayRole).toString();
            if (text.isEmpty()) {
                continue;
            }
            QFont font = view->font();
            const QVariant roleFont = model->data(index, Qt::FontRole);
            if (roleFont.canConvert<QFont>()) {
                font = roleFont.value<QFont>().resolve(font);
            }
            const int needed = widthOf(font, text) + margins;
            if (needed > cell.width()) {
                report.add(view,
                           QStringLiteral("cell \"%1\" (row %2, column %3) clipped: ").arg(text).arg(row).arg(column) +
                               roomText(needed, cell.width()));
                return; // one cell tells the story
            }
            if (heightOf(font) > cell.height()) {
                report.add(view, QStringLiteral("row %1 lower than its text: ").arg(row) +
                                     roomText(heightOf(font), cell.height()));
                return;
            }
        }
    }
}

// Widgets whose children are their own parts (scroll bars, viewports, arrows), placed by
// Qt itself: their children are not looked at for overlaps.
bool composite(const QWidget* w) {
    return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QTabBar*>(w) ||
           qobject_cast<const QMenuBar*>(w);
}

bool insideComposite(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (composite(p)) {
            return true;
        }
    }
    return false;
}

// A drawn line (an axis, a divider): lines may cross or meet each other.
bool isLine(const QWidget* w) {
    if (std::string_view(w->metaObject()->className()) != "QFrame" || !w->children().isEmpty()) {
        return false;
    }
    const int thin = std::min(w->width(), w->height());
    return thin <= 4 && std::max(w->width(), w->height()) >= 4 * thin;
}

// A read-only text box whose vertical scroll bar is off shows only what fits its box.
void checkTextBox(const QTextEdit* box, Report& report) {
    if (!box->isReadOnly() || box->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff || box->document()->isEmpty()) {
        return;
    }
    const QTextDocument* doc = box->document();
    const int needed = static_cast<int>(std::ceil(doc->size().height()));
    const int room = box->viewport()->height();
    if (needed > room) {
        report.add(box, QStringLiteral("text \"%1\" taller than its box: ").arg(doc->toPlainText().left(60)) +
                            roomText(needed, room));
    }
}

void checkSiblings(const QWidget* parent, Report& report, const QMargins& frame = {}) {
    std::vector<const QWidget*> children;
    for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && !child->isWindow()) {
            children.push_back(child);
        }
    }
    // A window's frame, when it has one, comes off the room its controls have. A bare container
    // (a main window's central area) may run under the frame where it holds nothing: what it
    // holds must not.
    const QRect inside = QRect(QPoint(0, 0), parent->size().shrunkBy(frame));
    const auto outside = [&inside](const QWidget* child) -> const QWidget* {
        if (inside.contains(child->geometry())) {
            return nullptr;
        }
        if (std::strcmp(child->metaObject()->className(), "QWidget") != 0) {
            return child;
        }
        for (const QWidget* w : child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isVisible() && !w->isWindow() && !inside.contains(w->geometry().translated(child->pos()))) {
                return w;
            }
        }
        return nullptr;
    };
    for (std::size_t i = 0; i < children.size(); ++i) {
        const QRect a = children[i]->geometry();
        if (const QWidget* out = outside(children[i])) {
            const QRect at = out->geometry().translated(out == children[i] ? QPoint() : children[i]->pos());
            report.add(out, QStringLiteral("lies outside its parent %1: (%2,%3 %4x%5) in %6x%7")
                                .arg(Report::nameOf(parent))
                                .arg(at.x())
                                .arg(at.y())
                                .arg(at.width())
                                .arg(at.height())
                                .arg(inside.width())
                                .arg(inside.height()));
        }
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            if ((isLine(children[i]) && isLine(children[j])) || children[i]->property("drawnOver").toBool() ||
                children[j]->property("drawnOver").toBool()) {
                continue;
            }
            const QRect overlap = a.intersected(children[j]->geometry());
            if (!overlap.isEmpty()) {
                report.add(children[i], QStringLiteral("overlaps %1 by %2x%3 px")
                                            .arg(Report::nameOf(children[j]))
                                            .arg(overlap.width())
                                            .arg(overlap.height()));
            }
        }
    }
}

} // namespace

std::vector<std::string> layoutProblems(const QWidget* window, const QMargins& frame) {
    Report report(window);
    if (const QScreen* screen = window->screen()) {
        const QRect frame = window->frameGeometry();
        if (!screen->geometry().contains(frame)) {
            const QRect s = screen->geometry();
            report.add(window, QStringLiteral("window (%1,%2 %3x%4) is not inside the screen %5x%6")
                                   .arg(frame.x())
                                   .arg(frame.y())
                                   .arg(frame.width())
                                   .arg(frame.height())
                                   .arg(s.width())
                                   .arg(s.height()));
        }
    }
    // The part of the frame the platform did not draw itself.
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins drawn(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    // A window without a frame (the logo) loses nothing to one.
    const QMargins missing =
        window->windowFlags().testFlag(Qt::FramelessWindowHint)
            ? QMargins()
            : QMargins(std::max(0, frame.left() - drawn.left()), std::max(0, frame.top() - drawn.top()),
                       std::max(0, frame.right() - drawn.right()), std::max(0, frame.bottom() - drawn.bottom()));
    checkSiblings(window, report, missing);
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow() || insideComposite(w, window)) {
            continue;
        }
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            checkLabel(label, report);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            checkButton(button, report);
        } else if (const auto* box = qobject_cast<const QGroupBox*>(w)) {
            checkGroupBox(box, report);
        } else if (const auto* text = qobject_cast<const QTextEdit*>(w)) {
            checkTextBox(text, report);
        }
        if (const auto* view = qobject_cast<const QAbstractItemView*>(w)) {
            for (const QHeaderView* header : view->findChildren<QHeaderView*>(Qt::FindDirectChildrenOnly)) {
                if (header->isVisible()) {
                    checkHeader(header, report);
                }
            }
            checkCells(view, report);
        }
        if (!composite(w)) {
            checkSiblings(w, report);
        }
    }
    return report.take();
}

} // namespace corvane::test
