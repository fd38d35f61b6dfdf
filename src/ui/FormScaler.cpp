#include "ui/FormScaler.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace corvane {

namespace {

const char* const kDesignRect = "corvaneDesignTwips";
const char* const kDesignFont = "corvaneDesignFont";
const char* const kDesignColumns = "corvaneDesignColumns";
const char* const kFactorX = "corvaneFactorX";
const char* const kFactorY = "corvaneFactorY";

QRect toPixelRect(const TwipRect& r) {
    return QRect(FormScaler::toPixels(r.left), FormScaler::toPixels(r.top), std::max(1, FormScaler::toPixels(r.width)),
                 std::max(1, FormScaler::toPixels(r.height)));
}

// The window frame a window manager adds around a top-level window: the plans give the
// outer size and place, as the screen shows them, so the frame comes off the inner size.
QMargins frameMargins(const QWidget* window) {
    if (!window->isWindow() || window->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        return {};
    }
    const auto marginsOf = [](const QWidget* w) {
        const QRect frame = w->frameGeometry();
        const QRect inner = w->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    };
    if (window->isVisible()) {
        return marginsOf(window);
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && other->isVisible() && !other->windowFlags().testFlag(Qt::FramelessWindowHint)) {
            const QMargins m = marginsOf(other);
            if (!m.isNull()) {
                return m;
            }
        }
    }
    return {};
}

double factorOf(const QWidget* w, const char* name) {
    const QVariant v = w->property(name);
    return v.isValid() ? v.toDouble() : 1.0;
}

} // namespace

int FormScaler::toPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

void FormScaler::place(QWidget* control, const TwipRect& design, double fontPoints) {
    control->setProperty(kDesignRect, QVariantList{design.left, design.top, design.width, design.height});
    control->setProperty(kDesignFont, fontPoints);
    control->setGeometry(toPixelRect(design));
    QFont f = control->font();
    f.setPointSizeF(fontPoints);
    control->setFont(f);
}

void FormScaler::setColumnWidths(QTreeView* view, const std::initializer_list<double>& designTwips) {
    QVariantList widths;
    int column = 0;
    for (double w : designTwips) {
        widths.push_back(w);
        view->setColumnWidth(column++, toPixels(w));
    }
    view->setProperty(kDesignColumns, widths);
}

ScreenTwips FormScaler::screenOf(const QWidget* window) {
    const QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    ScreenTwips s;
    if (!screen) {
        return s;
    }
    const QRect full = screen->geometry();
    const QRect work = screen->availableGeometry();
    s.screenWidth = full.width() * kTwipsPerPixel;
    s.screenHeight = full.height() * kTwipsPerPixel;
    s.workLeft = (work.left() - full.left()) * kTwipsPerPixel;
    s.workTop = (work.top() - full.top()) * kTwipsPerPixel;
    s.workWidth = work.width() * kTwipsPerPixel;
    s.workHeight = work.height() * kTwipsPerPixel;
    return s;
}

void FormScaler::scale(QWidget* window, ScaleVariant variant, const TwipRect& designWindow) {
    apply(window, planScale(variant, designWindow, screenOf(window)));
}

void FormScaler::apply(QWidget* window, const ScalePlan& plan) {
    window->setGeometry(toPixelRect(plan.window) - frameMargins(window));
    window->setProperty(kFactorX, plan.controlX);
    window->setProperty(kFactorY, plan.controlY);
    const auto controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        const QVariant rect = control->property(kDesignRect);
        if (!rect.isValid()) {
            continue;
        }
        const QVariantList r = rect.toList();
        const TwipRect scaled{r[0].toDouble() * plan.controlX, r[1].toDouble() * plan.controlY,
                              r[2].toDouble() * plan.controlX, r[3].toDouble() * plan.controlY};
        control->setGeometry(toPixelRect(scaled));
        QFont f = control->font();
        f.setPointSizeF(std::max(1.0, control->property(kDesignFont).toDouble() * plan.controlText));
        control->setFont(f);
        if (auto* view = qobject_cast<QTreeView*>(control)) {
            const QVariantList widths = view->property(kDesignColumns).toList();
            for (int c = 0; c < widths.size(); ++c) {
                view->setColumnWidth(c, toPixels(widths[c].toDouble() * plan.controlX));
            }
        }
    }
}

double FormScaler::controlX(const QWidget* window) {
    return factorOf(window, kFactorX);
}
double FormScaler::controlY(const QWidget* window) {
    return factorOf(window, kFactorY);
}

} // namespace corvane
