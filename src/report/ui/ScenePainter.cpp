#include "report/ui/ScenePainter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace corvane {

namespace {

QColor colourOf(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

class ShapePainter {
public:
    explicit ShapePainter(QPainter& painter) : m_painter(painter) {}

    void operator()(const SceneLine& line) {
        if (line.points.size() < 2) {
            return;
        }
        QPen pen(colourOf(line.colour), line.width);
        pen.setStyle(line.dashed ? Qt::DashLine : Qt::SolidLine);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        m_painter.setPen(pen);
        m_painter.setBrush(Qt::NoBrush);
        QPainterPath path(QPointF(line.points.front().x, line.points.front().y));
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            path.lineTo(line.points[i].x, line.points[i].y);
        }
        m_painter.drawPath(path);
    }
    void operator()(const SceneCircle& circle) {
        m_painter.setPen(circle.stroke ? QPen(colourOf(*circle.stroke), circle.strokeWidth) : QPen(Qt::NoPen));
        m_painter.setBrush(circle.fill ? QBrush(colourOf(*circle.fill)) : QBrush(Qt::NoBrush));
        m_painter.drawEllipse(QPointF(circle.centre.x, circle.centre.y), circle.radius, circle.radius);
    }
    void operator()(const SceneRect& rect) {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(colourOf(rect.fill));
        m_painter.drawRect(QRectF(rect.x, rect.y, rect.width, rect.height));
    }
    void operator()(const SceneText& text) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(std::max(1, static_cast<int>(text.size + 0.5)));
        font.setBold(text.bold);
        m_painter.setFont(font);
        m_painter.setPen(colourOf(text.colour));
        const QString s = QString::fromLatin1(text.text.data(), static_cast<qsizetype>(text.text.size()));
        const double width = QFontMetricsF(font).horizontalAdvance(s);
        double x = text.at.x;
        if (text.anchor == TextAnchor::Middle) {
            x -= width / 2.0;
        } else if (text.anchor == TextAnchor::End) {
            x -= width;
        }
        m_painter.drawText(QPointF(x, text.at.y), s);
    }

private:
    QPainter& m_painter;
};

} // namespace

void paintScene(QPainter& painter, const Scene& scene) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0, 0, scene.width, scene.height), colourOf(scene.background));
    ShapePainter shapes(painter);
    for (const SceneShape& shape : scene.shapes) {
        std::visit(shapes, shape);
    }
}

QImage sceneImage(const Scene& scene) {
    QImage image(std::max(1, scene.width), std::max(1, scene.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintScene(painter, scene);
    painter.end();
    return image;
}

FileResult writeScenePng(const Scene& scene, const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!sceneImage(scene).save(&buffer, "PNG")) {
        return FileResult::failure("the picture could not be made into PNG");
    }
    return replaceAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace corvane
