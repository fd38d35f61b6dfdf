#include "ui/FormScaler.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
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
const char* const kFrame = "corvaneFrameMargins";
const char* const kPendingOuter = "corvanePendingOuterRect";

// A window laid out before the window manager framed it was placed by its frame's corner with
// its whole outer size inside; once the frame is known, the inner size is fitted so that the
// window, frame and all, covers exactly the planned rectangle.
class FrameFitter final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show) {
            return false;
        }
        auto* window = qobject_cast<QWidget*>(watched);
        if (window == nullptr) {
            return false;
        }
        const QVariant pending = window->property(kPendingOuter);
        if (!pending.isValid()) {
            window->removeEventFilter(this);
            return false;
        }
        const QRect frame = window->frameGeometry();
        const QRect inner = window->geometry();
        const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                               frame.bottom() - inner.bottom());
        if (margins.isNull()) {
            return false;
        }
        window->setProperty(kPendingOuter, QVariant());
        window->removeEventFilter(this);
        FormScaler::rememberFrame(window);
        window->setGeometry(pending.toRect() - margins);
        return false;
    }
};

FrameFitter& frameFitter() {
    static auto* fitter = new FrameFitter(qApp);
    return *fitter;
}

// Edges are rounded, not sizes: controls that touch on the canvas touch on the screen,
// never overlapping by a pixel.
QRect toPixelRect(const TwipRect& r) {
    const int left = FormScaler::toPixels(r.left);
    const int top = FormScaler::toPixels(r.top);
    const int right = FormScaler::toPixels(r.left + r.width);
    const int bottom = FormScaler::toPixels(r.top + r.height);
    return QRect(left, top, std::max(1, right - left), std::max(1, bottom - top));
}

QMargins marginsOf(const QWidget* w) {
    const QRect frame = w->frameGeometry();
    const QRect inner = w->geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                    frame.bottom() - inner.bottom());
}

// The window frame a window manager adds around a top-level window: the plans give the
// outer size and place, as the screen shows them, so the frame comes off the inner size.
// A window's own frame is remembered while it is shown, for a pass made while it is
// hidden; a window never shown yet takes the frame of another window on screen.
QMargins frameMargins(QWidget* window) {
    if (!window->isWindow() || window->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        return {};
    }
    FormScaler::rememberFrame(window);
    if (const QVariantList known = window->property(kFrame).toList(); known.size() == 4) {
        return QMargins(known[0].toInt(), known[1].toInt(), known[2].toInt(), known[3].toInt());
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

QHeaderView* columnHeader(QWidget* w) {
    if (auto* tree = qobject_cast<QTreeView*>(w)) {
        return tree->header();
    }
    if (auto* table = qobject_cast<QTableView*>(w)) {
        return table->horizontalHeader();
    }
    return nullptr;
}

double factorOf(const QWidget* w, const char* name) {
    const QVariant v = w->property(name);
    return v.isValid() ? v.toDouble() : 1.0;
}

} // namespace

void FormScaler::rememberFrame(QWidget* window) {
    if (!window->isVisible()) {
        return;
    }
    const QMargins own = marginsOf(window);
    if (!own.isNull()) {
        window->setProperty(kFrame, QVariantList{own.left(), own.top(), own.right(), own.bottom()});
    }
}

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

void FormScaler::setColumnWidths(QAbstractItemView* view, const std::initializer_list<double>& designTwips) {
    QHeaderView* header = columnHeader(view);
    QVariantList widths;
    int column = 0;
    for (double w : designTwips) {
        widths.push_back(w);
        if (header) {
            header->resizeSection(column++, toPixels(w));
        }
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
    const QRect outer = toPixelRect(plan.window);
    const QMargins frame = frameMargins(window);
    if (frame.isNull() && window->isWindow() && !window->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        // No frame known yet (the window manager has not framed the window): the place is given
        // for the frame, so the title bar lands on the screen; the next pass, with the frame
        // known, fits the inner size.
        window->resize(outer.size());
        window->move(outer.topLeft());
        window->setProperty(kPendingOuter, outer);
        window->installEventFilter(&frameFitter());
    } else {
        window->setProperty(kPendingOuter, QVariant());
        window->setGeometry(outer - frame);
    }
    window->setProperty(kFactorX, plan.controlX);
    window->setProperty(kFactorY, plan.controlY);
    const auto controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        const QVariant rect = control->property(kDesignRect);
        if (!rect.isValid() || control->window() != window) {
            continue; // a window made as this one's child (a dialog) keeps its own scaling
        }
        const QVariantList r = rect.toList();
        const TwipRect scaled{r[0].toDouble() * plan.controlX, r[1].toDouble() * plan.controlY,
                              r[2].toDouble() * plan.controlX, r[3].toDouble() * plan.controlY};
        control->setGeometry(toPixelRect(scaled));
        QFont f = control->font();
        f.setPointSizeF(std::max(1.0, control->property(kDesignFont).toDouble() * plan.controlText));
        control->setFont(f);
        if (QHeaderView* header = columnHeader(control)) {
            const QVariantList widths = control->property(kDesignColumns).toList();
            for (int c = 0; c < widths.size(); ++c) {
                header->resizeSection(c, toPixels(widths[c].toDouble() * plan.controlX));
            }
        }
    }
}

bool FormScaler::designOf(const QWidget* control, TwipRect* design) {
    const QVariant rect = control->property(kDesignRect);
    if (!rect.isValid()) {
        return false;
    }
    const QVariantList r = rect.toList();
    *design = {r[0].toDouble(), r[1].toDouble(), r[2].toDouble(), r[3].toDouble()};
    return true;
}

void FormScaler::redesign(QWidget* control, const TwipRect& design) {
    control->setProperty(kDesignRect, QVariantList{design.left, design.top, design.width, design.height});
    const QWidget* window = control->window();
    const double fx = controlX(window);
    const double fy = controlY(window);
    control->setGeometry(toPixelRect({design.left * fx, design.top * fy, design.width * fx, design.height * fy}));
}

double FormScaler::controlX(const QWidget* window) {
    return factorOf(window, kFactorX);
}
double FormScaler::controlY(const QWidget* window) {
    return factorOf(window, kFactorY);
}

} // namespace corvane
