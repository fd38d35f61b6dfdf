#include "spots/ui/SpotWorthMarks.h"

#include "spots/ui/SpotArea.h"
#include "ui/FormScaler.h"

#include <QLabel>
#include <QTreeWidget>

namespace corvane::spots {

namespace {
const QColor kDuplicateText(128, 128, 128);
}

void showPointsColumn(QTreeWidget* list) {
    list->headerItem()->setText(kPointsColumn, QStringLiteral("Pts"));
    list->setColumnHidden(kPointsColumn, false);
    // The points take their room from the comments, so the list keeps its width.
    FormScaler::setColumnWidths(list, {1040, 880, 2000, 520, 2880, 520, 600, 520});
}

void markRow(QTreeWidgetItem* row, const SpotWorth& worth) {
    row->setText(kPointsColumn, QString::fromStdString(worth.columnText()));
    row->setTextAlignment(kPointsColumn, Qt::AlignRight | Qt::AlignVCenter);
    for (int column = 0; column < row->columnCount(); ++column) {
        QFont font = row->font(column);
        if (font.strikeOut() != worth.duplicate) {
            font.setStrikeOut(worth.duplicate);
            row->setFont(column, font);
        }
        if (worth.duplicate) {
            row->setForeground(column, kDuplicateText);
        } else {
            row->setData(column, Qt::ForegroundRole, QVariant());
        }
    }
}

Rgb dimmed(Rgb colour) {
    return {static_cast<std::uint8_t>(colour.red / 2), static_cast<std::uint8_t>(colour.green / 2),
            static_cast<std::uint8_t>((colour.blue + 128) / 2)};
}

void markLabel(QLabel* label, const SpotWorth& worth, Rgb ageColour) {
    QFont font = label->font();
    if (font.strikeOut() != worth.duplicate) {
        font.setStrikeOut(worth.duplicate);
        label->setFont(font);
    }
    setTextColour(label, worth.duplicate ? dimmed(ageColour) : ageColour);
    if (const std::string suffix = worth.toolTipSuffix(); !suffix.empty()) {
        label->setToolTip(label->toolTip() + QString::fromLatin1(suffix.data(), static_cast<qsizetype>(suffix.size())));
    }
}

} // namespace corvane::spots
