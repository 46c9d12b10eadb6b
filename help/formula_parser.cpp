// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/formula_parser.h"

#include <optional>

namespace veldorin {

namespace {

using Node = FormulaNode;
using Kind = FormulaNode::Kind;

// Reads markup from left to right into a tree; faulty markup still gives a tree of what
// could be read, and clears wellFormed().
class MarkupParser {
public:
    explicit MarkupParser(const QString& markup) : markup_(markup) {}

    Node ParseAll(bool math) {
        Node row = ParseRow(math);
        if (position_ < markup_.size()) wellFormed_ = false;  // a stray closing brace or \right
        return row;
    }

    bool wellFormed() const { return wellFormed_; }

private:
    bool AtEnd() const { return position_ >= markup_.size(); }
    QChar Peek() const { return markup_[position_]; }

    bool AtRight() const { return QStringView(markup_).mid(position_).startsWith(u"\\right"); }

    // Items up to the end, a closing brace or \right (none of which is consumed).
    Node ParseRow(bool math) {
        Node row;
        while (!AtEnd() && Peek() != u'}' && !AtRight()) {
            const QChar character = Peek();
            if (character == u'\\') {
                ParseCommand(row, math);
            } else if (character == u'_' || character == u'^') {
                ++position_;
                AttachScript(row, character == u'_' ? 1 : 2, ParseArgument(math));
            } else if (character == u'{') {
                row.children.push_back(ParseGroup(math));
            } else {
                ++position_;
                AppendCharacter(row, character, math);
            }
        }
        return row;
    }

    // A braced group, or one character when no brace follows.
    Node ParseArgument(bool math) {
        if (!AtEnd() && Peek() == u'{') return ParseGroup(math);
        Node row;
        if (AtEnd()) {
            wellFormed_ = false;
            return row;
        }
        AppendCharacter(row, markup_[position_++], math);
        return row;
    }

    Node ParseGroup(bool math) {
        if (AtEnd() || Peek() != u'{') {
            wellFormed_ = false;
            return Node{};
        }
        ++position_;
        Node row = ParseRow(math);
        if (AtEnd() || Peek() != u'}') {
            wellFormed_ = false;
            return row;
        }
        ++position_;
        return row;
    }

    QString ReadCommandName() {
        ++position_;  // the backslash
        if (AtEnd()) return {};
        if (!Peek().isLetter()) return QString(markup_[position_++]);
        const qsizetype start = position_;
        while (!AtEnd() && Peek().isLetter()) ++position_;
        return markup_.mid(start, position_ - start);
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
            wellFormed_ = false;
        }
    }

    static std::optional<qreal> SpaceWidth(const QString& name) {
        if (name == u",") return 1.0 / 6.0;
        if (name == u";") return 5.0 / 18.0;
        if (name == u"quad") return 1.0;
        return std::nullopt;
    }

    static bool IsDelimiter(QChar character) {
        return character == u'(' || character == u')' || character == u'[' || character == u']';
    }

    // A fence always gets two delimiters and its content, even from faulty markup.
    Node ParseFence(bool math) {
        QChar open = u'(';
        if (!AtEnd() && IsDelimiter(Peek())) {
            open = markup_[position_++];
        } else {
            wellFormed_ = false;
        }
        Node content = ParseRow(math);
        QChar close = u')';
        if (AtRight() && position_ + 6 < markup_.size() && IsDelimiter(markup_[position_ + 6])) {
            close = markup_[position_ + 6];
            position_ += 7;
        } else {
            wellFormed_ = false;
        }
        Node fence;
        fence.kind = Kind::Fence;
        fence.text = QString(open) + close;
        fence.children.push_back(std::move(content));
        return fence;
    }

    void AttachScript(Node& row, int slot, Node script) {
        if (row.children.empty()) {
            wellFormed_ = false;
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
    static void AppendCharacter(Node& row, QChar character, bool math) {
        const bool upperGreek = character.unicode() >= 0x0391 && character.unicode() <= 0x03A9;
        const bool italic = math && character.isLetter() && !upperGreek;
        if (!row.children.empty()) {
            Node& last = row.children.back();
            if (last.kind == Kind::Text && last.italic == italic) {
                last.text.append(character);
                return;
            }
        }
        Node text;
        text.kind = Kind::Text;
        text.text = QString(character);
        text.italic = italic;
        row.children.push_back(std::move(text));
    }

    const QString& markup_;
    qsizetype position_ = 0;
    bool wellFormed_ = true;
};

}  // namespace

ParsedFormula ParseFormulaMarkup(const QString& markup, FormulaMode mode) {
    MarkupParser parser(markup);
    ParsedFormula parsed;
    parsed.root = parser.ParseAll(mode == FormulaMode::Math);
    parsed.wellFormed = parser.wellFormed();
    return parsed;
}

}  // namespace veldorin
