#include "help/formula.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <optional>

namespace veldorin {

namespace {

using Node = Formula::Node;
using Kind = Node::Kind;

class Parser {
public:
    explicit Parser(const QString& markup) : text_(markup) {}

    Node ParseAll(bool math) {
        Node row = ParseRow(math);
        if (pos_ < text_.size()) ok_ = false;  // a stray closing brace or \right
        return row;
    }

    bool ok() const { return ok_; }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    QChar Peek() const { return text_[pos_]; }

    bool AtRight() const { return QStringView(text_).mid(pos_).startsWith(u"\\right"); }

    // Items up to the end, a closing brace or \right (none of which is consumed).
    Node ParseRow(bool math) {
        Node row;
        while (!AtEnd() && Peek() != u'}' && !AtRight()) {
            const QChar c = Peek();
            if (c == u'\\') {
                ParseCommand(row, math);
            } else if (c == u'_' || c == u'^') {
                ++pos_;
                AttachScript(row, c == u'_' ? 1 : 2, ParseArgument(math));
            } else if (c == u'{') {
                row.children.push_back(ParseGroup(math));
            } else {
                ++pos_;
                AppendCharacter(row, c, math);
            }
        }
        return row;
    }

    // A braced group, or a single character when no brace follows.
    Node ParseArgument(bool math) {
        if (!AtEnd() && Peek() == u'{') return ParseGroup(math);
        Node row;
        if (AtEnd()) {
            ok_ = false;
            return row;
        }
        AppendCharacter(row, text_[pos_++], math);
        return row;
    }

    Node ParseGroup(bool math) {
        if (AtEnd() || Peek() != u'{') {
            ok_ = false;
            return Node{};
        }
        ++pos_;
        Node row = ParseRow(math);
        if (AtEnd() || Peek() != u'}') {
            ok_ = false;
            return row;
        }
        ++pos_;
        return row;
    }

    QString ReadCommandName() {
        ++pos_;  // the backslash
        if (AtEnd()) return {};
        if (!Peek().isLetter()) return QString(text_[pos_++]);
        const qsizetype start = pos_;
        while (!AtEnd() && Peek().isLetter()) ++pos_;
        return text_.mid(start, pos_ - start);
    }

    void ParseCommand(Node& row, bool math) {
        const QString name = ReadCommandName();
        if (name == u"rm") {
            row.children.push_back(ParseGroup(false));
        } else if (name == u"it") {
            row.children.push_back(ParseGroup(true));
        } else if (name == u"frac" || name == u"sum") {
            Node node;
            node.kind = name == u"frac" ? Kind::Fraction : Kind::Sum;
            node.children.push_back(ParseGroup(math));
            node.children.push_back(ParseGroup(math));
            row.children.push_back(std::move(node));
        } else if (name == u"left") {
            row.children.push_back(ParseFence(math));
        } else if (const std::optional<qreal> em = SpaceWidth(name)) {
            Node space;
            space.kind = Kind::Space;
            space.em = *em;
            row.children.push_back(std::move(space));
        } else {
            ok_ = false;
        }
    }

    static std::optional<qreal> SpaceWidth(const QString& name) {
        if (name == u",") return 1.0 / 6.0;
        if (name == u";") return 5.0 / 18.0;
        if (name == u"quad") return 1.0;
        return std::nullopt;
    }

    static bool IsDelimiter(QChar c) { return c == u'(' || c == u')' || c == u'[' || c == u']'; }

    // A fence always gets two delimiters and its content, even from faulty markup.
    Node ParseFence(bool math) {
        QChar open = u'(';
        if (!AtEnd() && IsDelimiter(Peek())) {
            open = text_[pos_++];
        } else {
            ok_ = false;
        }
        Node content = ParseRow(math);
        QChar close = u')';
        if (AtRight() && pos_ + 6 < text_.size() && IsDelimiter(text_[pos_ + 6])) {
            close = text_[pos_ + 6];
            pos_ += 7;
        } else {
            ok_ = false;
        }
        Node fence;
        fence.kind = Kind::Fence;
        fence.text = QString(open) + close;
        fence.children.push_back(std::move(content));
        return fence;
    }

    void AttachScript(Node& row, int slot, Node script) {
        if (row.children.empty()) {
            ok_ = false;
            return;
        }
        Node& last = row.children.back();
        if (last.kind != Kind::Scripts) {
            Node scripts;
            scripts.kind = Kind::Scripts;
            scripts.children.resize(3);
            scripts.children[0] = std::move(last);
            last = std::move(scripts);
        }
        last.children[slot] = std::move(script);
    }

    // Runs of characters of one style share a text item; a script attaches to the last
    // character of its run, which sets it in the same place.
    static void AppendCharacter(Node& row, QChar c, bool math) {
        const bool upperGreek = c.unicode() >= 0x0391 && c.unicode() <= 0x03A9;
        const bool italic = math && c.isLetter() && !upperGreek;
        if (!row.children.empty()) {
            Node& last = row.children.back();
            if (last.kind == Kind::Text && last.italic == italic) {
                last.text.append(c);
                return;
            }
        }
        Node text;
        text.kind = Kind::Text;
        text.text = QString(c);
        text.italic = italic;
        row.children.push_back(std::move(text));
    }

    const QString& text_;
    qsizetype pos_ = 0;
    bool ok_ = true;
};

// Relative sizes of the main level, scripts and scripts of scripts.
constexpr qreal kLevelScale[] = {1.0, 0.7, 0.55};
constexpr int kDeepestLevel = 2;
// The summation sign is this much larger than the text around it.
constexpr qreal kSumScale = 1.45;

QFont Scaled(const QFont& font, qreal factor) {
    QFont scaled = font;
    if (font.pixelSize() > 0) {
        scaled.setPixelSize(std::max(1, qRound(font.pixelSize() * factor)));
    } else {
        scaled.setPointSizeF(font.pointSizeF() * factor);
    }
    return scaled;
}

// The fonts of one level and the measures that placement is expressed in.
struct Level {
    Level(const QFont& base, int depth) : depth(depth), upright(Scaled(base, kLevelScale[depth])) {
        italic = upright;
        italic.setItalic(true);
        const QFontMetricsF metrics(upright);
        em = metrics.height() * 0.85;
        // Fraction bars, minus signs and brackets centre on the height of the plus sign.
        axis = -metrics.tightBoundingRect(QStringLiteral("+")).center().y();
        rule = std::max(em * 0.055, 0.5);
    }

    Level Smaller(const QFont& base) const {
        return Level(base, std::min(depth + 1, kDeepestLevel));
    }

    int depth;
    QFont upright;
    QFont italic;
    qreal em = 0;
    qreal axis = 0;
    qreal rule = 0;
};

// Measures a node and, when a painter is given, draws it with its baseline origin at `at`.
class Setter {
public:
    explicit Setter(const QFont& base) : base_(base) {}

    FormulaExtent Set(const Node& node, const Level& level, QPainter* painter, QPointF at) const {
        switch (node.kind) {
            case Kind::Text:
                return SetText(node, level, painter, at);
            case Kind::Row:
                return SetRow(node, level, painter, at);
            case Kind::Scripts:
                return SetScripts(node, level, painter, at);
            case Kind::Fraction:
                return SetFraction(node, level, painter, at);
            case Kind::Sum:
                return SetSum(node, level, painter, at);
            case Kind::Fence:
                return SetFence(node, level, painter, at);
            case Kind::Space:
                return {node.em * level.em, 0, 0};
        }
        return {};
    }

private:
    FormulaExtent Measure(const Node& node, const Level& level) const {
        return Set(node, level, nullptr, {});
    }

    static FormulaExtent SetText(const Node& node, const Level& level, QPainter* painter,
                                 QPointF at) {
        const QFont& font = node.italic ? level.italic : level.upright;
        const QFontMetricsF metrics(font);
        const QRectF ink = metrics.tightBoundingRect(node.text);
        FormulaExtent extent{metrics.horizontalAdvance(node.text), std::max(-ink.top(), 0.0),
                             std::max(ink.bottom(), 0.0)};
        if (painter) {
            painter->setFont(font);
            painter->drawText(at, node.text);
        }
        return extent;
    }

    FormulaExtent SetRow(const Node& node, const Level& level, QPainter* painter,
                         QPointF at) const {
        FormulaExtent extent;
        for (const Node& child : node.children) {
            const FormulaExtent part = Set(child, level, painter, at + QPointF(extent.width, 0));
            extent.width += part.width;
            extent.ascent = std::max(extent.ascent, part.ascent);
            extent.descent = std::max(extent.descent, part.descent);
        }
        return extent;
    }

    FormulaExtent SetScripts(const Node& node, const Level& level, QPainter* painter,
                             QPointF at) const {
        const Node& base = node.children[0];
        const Node& sub = node.children[1];
        const Node& sup = node.children[2];
        const Level small = level.Smaller(base_);
        const FormulaExtent b = Set(base, level, painter, at);
        const FormulaExtent lower = Measure(sub, small);
        const FormulaExtent upper = Measure(sup, small);
        const bool hasSub = !sub.children.empty();
        const bool hasSup = !sup.children.empty();

        qreal up = std::max(level.em * 0.36, b.ascent - upper.ascent * 0.6);
        qreal down = std::max(level.em * 0.2, b.descent - lower.descent * 0.4);
        if (hasSub && hasSup) {
            const qreal gap = (up - upper.descent) - (lower.ascent - down);
            const qreal wanted = level.em * 0.12;
            if (gap < wanted) down += wanted - gap;
        }
        // Italic letters lean to the right: move a superscript clear of the slant.
        const qreal lean = base.kind == Kind::Text && base.italic ? level.em * 0.06 : 0.0;
        const qreal x = at.x() + b.width;
        if (painter) {
            if (hasSub) Set(sub, small, painter, QPointF(x, at.y() + down));
            if (hasSup) Set(sup, small, painter, QPointF(x + lean, at.y() - up));
        }
        FormulaExtent extent = b;
        extent.width += std::max(hasSub ? lower.width : 0.0, hasSup ? upper.width + lean : 0.0) +
                        level.em * 0.04;
        if (hasSup) extent.ascent = std::max(extent.ascent, up + upper.ascent);
        if (hasSub) extent.descent = std::max(extent.descent, down + lower.descent);
        return extent;
    }

    FormulaExtent SetFraction(const Node& node, const Level& level, QPainter* painter,
                              QPointF at) const {
        const Node& numerator = node.children[0];
        const Node& denominator = node.children[1];
        const FormulaExtent top = Measure(numerator, level);
        const FormulaExtent bottom = Measure(denominator, level);
        const qreal pad = level.em * 0.1;
        const qreal gap = level.em * 0.14;
        const qreal width = std::max(top.width, bottom.width) + 2 * pad;
        const qreal up = level.axis + level.rule / 2 + gap + top.descent;
        const qreal down = bottom.ascent + gap + level.rule / 2 - level.axis;
        if (painter) {
            Set(numerator, level, painter, QPointF(at.x() + (width - top.width) / 2, at.y() - up));
            Set(denominator, level, painter,
                QPointF(at.x() + (width - bottom.width) / 2, at.y() + down));
            painter->fillRect(QRectF(at.x() + pad * 0.5, at.y() - level.axis - level.rule / 2,
                                     width - pad, level.rule),
                              painter->pen().color());
        }
        return {width, up + top.ascent, down + bottom.descent};
    }

    FormulaExtent SetSum(const Node& node, const Level& level, QPainter* painter,
                         QPointF at) const {
        const Node& below = node.children[0];
        const Node& above = node.children[1];
        const Level small = level.Smaller(base_);
        QFont signFont = Scaled(level.upright, kSumScale);
        const QString sign(QChar(0x2211));
        const QFontMetricsF metrics(signFont);
        const QRectF ink = metrics.tightBoundingRect(sign);
        const FormulaExtent lower = Measure(below, small);
        const FormulaExtent upper = Measure(above, small);
        const qreal gap = level.em * 0.12;
        const qreal width = std::max({ink.width(), lower.width, upper.width}) + level.em * 0.15;
        // The sign is centred on the axis of the surrounding text.
        const qreal signBaseline = -level.axis - ink.center().y();
        const qreal signTop = signBaseline + ink.top();  // below the baseline: positive
        const qreal signBottom = signBaseline + ink.bottom();
        const qreal lowerBaseline = signBottom + gap + lower.ascent;
        const qreal upperBaseline = signTop - gap - upper.descent;
        if (painter) {
            painter->setFont(signFont);
            painter->drawText(
                QPointF(at.x() + (width - ink.width()) / 2 - ink.left(), at.y() + signBaseline),
                sign);
            if (!below.children.empty()) {
                Set(below, small, painter,
                    QPointF(at.x() + (width - lower.width) / 2, at.y() + lowerBaseline));
            }
            if (!above.children.empty()) {
                Set(above, small, painter,
                    QPointF(at.x() + (width - upper.width) / 2, at.y() + upperBaseline));
            }
        }
        FormulaExtent extent{width, -signTop, signBottom};
        if (!below.children.empty()) extent.descent = lowerBaseline + lower.descent;
        if (!above.children.empty()) extent.ascent = -(upperBaseline - upper.ascent);
        return extent;
    }

    FormulaExtent SetFence(const Node& node, const Level& level, QPainter* painter,
                           QPointF at) const {
        const Node& content = node.children[0];
        const FormulaExtent inner = Measure(content, level);
        // Symmetric about the axis, a little taller than what it encloses.
        const qreal half =
            std::max(inner.ascent - level.axis, inner.descent + level.axis) + level.em * 0.08;
        const qreal top = level.axis + half;     // above the baseline
        const qreal bottom = half - level.axis;  // below the baseline
        const qreal delimiter = level.em * 0.32;
        const qreal gap = level.em * 0.06;
        if (painter) {
            const QRectF left(at.x(), at.y() - top, delimiter, top + bottom);
            DrawDelimiter(*painter, node.text[0], left, level);
            Set(content, level, painter, QPointF(at.x() + delimiter + gap, at.y()));
            const QRectF right(at.x() + delimiter + 2 * gap + inner.width, at.y() - top, delimiter,
                               top + bottom);
            DrawDelimiter(*painter, node.text[1], right, level);
        }
        return {inner.width + 2 * (delimiter + gap), std::max(top, inner.ascent),
                std::max(bottom, inner.descent)};
    }

    // Brackets as filled outlines: thick in the middle of a parenthesis, square ends on a
    // bracket, mirrored for the closing side.
    static void DrawDelimiter(QPainter& painter, QChar delimiter, const QRectF& box,
                              const Level& level) {
        const bool closing = delimiter == u')' || delimiter == u']';
        QPainterPath path;
        const qreal stem = level.rule * 1.3;
        if (delimiter == u'(' || delimiter == u')') {
            const qreal outer = box.left() + box.width() * 0.15;
            const qreal inner = outer + stem;
            const qreal tip = box.right() - box.width() * 0.1;
            path.moveTo(tip, box.top());
            path.cubicTo(outer, box.top() + box.height() * 0.2, outer,
                         box.bottom() - box.height() * 0.2, tip, box.bottom());
            path.cubicTo(inner, box.bottom() - box.height() * 0.22, inner,
                         box.top() + box.height() * 0.22, tip, box.top());
        } else {
            const qreal left = box.left() + box.width() * 0.3;
            const qreal arm = box.width() * 0.55;
            const qreal thin = level.rule;
            path.addRect(QRectF(left, box.top(), stem, box.height()));
            path.addRect(QRectF(left, box.top(), arm, thin));
            path.addRect(QRectF(left, box.bottom() - thin, arm, thin));
            path.setFillRule(Qt::WindingFill);
        }
        painter.save();
        if (closing) {
            // Mirror about the box's vertical centre line.
            painter.translate(box.center().x() * 2, 0);
            painter.scale(-1, 1);
        }
        painter.fillPath(path, painter.pen().color());
        painter.restore();
    }

    QFont base_;
};

}  // namespace

Formula::Formula(const QString& markup, FormulaMode mode) {
    Parser parser(markup);
    root_ = parser.ParseAll(mode == FormulaMode::Math);
    wellFormed_ = parser.ok();
}

FormulaExtent Formula::Measure(const QFont& font) const {
    return Setter(font).Set(root_, Level(font, 0), nullptr, {});
}

void Formula::Draw(QPainter& painter, QPointF baseline, const QFont& font) const {
    Setter(font).Set(root_, Level(font, 0), &painter, baseline);
}

namespace {
QStringList SplitWords(const QString& markup) {
    QStringList words;
    QString word;
    int depth = 0;
    for (const QChar c : markup) {
        if (c == u'{') ++depth;
        if (c == u'}') --depth;
        if (c == u' ' && depth == 0) {
            if (!word.isEmpty()) words.append(word);
            word.clear();
        } else {
            word.append(c);
        }
    }
    if (!word.isEmpty()) words.append(word);
    return words;
}
}  // namespace

QStringList WrapMarkup(const QString& markup, FormulaMode mode, const QFont& font, qreal width) {
    QStringList lines;
    QString line;
    for (const QString& word : SplitWords(markup)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && Formula(longer, mode).Measure(font).width > width) {
            lines.append(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines.append(line);
    return lines;
}

}  // namespace veldorin
