#include "report/Svg.h"

#include <charconv>
#include <cmath>

namespace corvane {

namespace {

constexpr std::string_view kEol = "\r\n";

bool sameStyle(const SceneLine& a, const SceneLine& b) {
    return a.colour == b.colour && a.width == b.width && a.dashed == b.dashed;
}

void appendPath(std::string& out, const PlaneLine& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        out += i == 0 ? "M" : "L";
        out += svgNumber(points[i].x);
        out += ' ';
        out += svgNumber(points[i].y);
    }
}

std::string_view anchorName(TextAnchor anchor) {
    switch (anchor) {
    case TextAnchor::Middle:
        return "middle";
    case TextAnchor::End:
        return "end";
    case TextAnchor::Start:
        break;
    }
    return "start";
}

class SvgWriter {
public:
    explicit SvgWriter(std::string& out) : m_out(out) {}

    void operator()(const SceneLine&) {} // lines go through writeLines
    void operator()(const SceneCircle& c) {
        m_out += "<circle cx=\"" + svgNumber(c.centre.x) + "\" cy=\"" + svgNumber(c.centre.y) + "\" r=\"" +
                 svgNumber(c.radius) + "\" fill=\"" + (c.fill ? cssColour(*c.fill) : std::string("none")) + "\"";
        if (c.stroke) {
            m_out += " stroke=\"" + cssColour(*c.stroke) + "\" stroke-width=\"" + svgNumber(c.strokeWidth) + "\"";
        }
        m_out += "/>";
        m_out += kEol;
    }
    void operator()(const SceneRect& r) {
        m_out += "<rect x=\"" + svgNumber(r.x) + "\" y=\"" + svgNumber(r.y) + "\" width=\"" + svgNumber(r.width) +
                 "\" height=\"" + svgNumber(r.height) + "\" fill=\"" + cssColour(r.fill) + "\"/>";
        m_out += kEol;
    }
    void operator()(const SceneText& t) {
        m_out += "<text x=\"" + svgNumber(t.at.x) + "\" y=\"" + svgNumber(t.at.y) + "\" font-size=\"" +
                 svgNumber(t.size) + "\" fill=\"" + cssColour(t.colour) + "\"";
        if (t.anchor != TextAnchor::Start) {
            m_out += " text-anchor=\"" + std::string(anchorName(t.anchor)) + "\"";
        }
        if (t.bold) {
            m_out += " font-weight=\"bold\"";
        }
        m_out += ">" + escapeHtml(t.text) + "</text>";
        m_out += kEol;
    }

    void writeLines(const std::vector<const SceneLine*>& lines) {
        if (lines.empty()) {
            return;
        }
        const SceneLine& style = *lines.front();
        m_out += "<path fill=\"none\" stroke=\"" + cssColour(style.colour) + "\" stroke-width=\"" +
                 svgNumber(style.width) + "\"";
        if (style.dashed) {
            m_out += " stroke-dasharray=\"4 3\"";
        }
        m_out += " d=\"";
        for (const SceneLine* line : lines) {
            appendPath(m_out, line->points);
        }
        m_out += "\"/>";
        m_out += kEol;
    }

private:
    std::string& m_out;
};

} // namespace

std::string escapeHtml(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
                out += ' '; // no control character reaches the page
            } else if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
    }
    return out;
}

std::string svgNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    double rounded = std::round(value * 10.0) / 10.0;
    if (rounded == 0.0) {
        rounded = 0.0; // no "-0"
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 1);
    std::string text(buffer, result.ptr);
    if (text.ends_with(".0")) {
        text.resize(text.size() - 2);
    }
    return text;
}

std::string cssColour(Rgb colour) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "#";
    for (std::uint8_t v : {colour.red, colour.green, colour.blue}) {
        out += kHex[v >> 4];
        out += kHex[v & 0xF];
    }
    return out;
}

std::string sceneSvg(const Scene& scene) {
    std::string out;
    // The text takes the page's font; the title is the picture's name for a screen reader.
    out += "<svg id=\"" + escapeHtml(scene.name) + "\" role=\"img\" aria-label=\"" + escapeHtml(scene.title) +
           "\" viewBox=\"0 0 " + std::to_string(scene.width) + " " + std::to_string(scene.height) + "\" width=\"" +
           std::to_string(scene.width) + "\" height=\"" + std::to_string(scene.height) + "\">";
    out += kEol;
    out += "<title>" + escapeHtml(scene.title) + "</title>";
    out += kEol;
    out += "<rect width=\"" + std::to_string(scene.width) + "\" height=\"" + std::to_string(scene.height) +
           "\" fill=\"" + cssColour(scene.background) + "\"/>";
    out += kEol;
    SvgWriter writer(out);
    std::vector<const SceneLine*> run;
    for (const SceneShape& shape : scene.shapes) {
        if (const auto* line = std::get_if<SceneLine>(&shape)) {
            if (!run.empty() && !sameStyle(*run.front(), *line)) {
                writer.writeLines(run);
                run.clear();
            }
            run.push_back(line);
            continue;
        }
        writer.writeLines(run);
        run.clear();
        std::visit(writer, shape);
    }
    writer.writeLines(run);
    out += "</svg>";
    out += kEol;
    return out;
}

} // namespace corvane
