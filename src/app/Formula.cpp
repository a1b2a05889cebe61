// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Formula.h"

#include "app/Elements.h"

#include <algorithm>
#include <cstdint>

namespace {

// Counts above this are all "too many"; saturating keeps every product within 64 bits.
constexpr std::int64_t kSaturated = kMaxAtoms + 1;

struct Group
{
    int openPosition; // of its "(", 0 for the whole formula
    std::vector<std::pair<std::string_view, std::int64_t>> counts;

    void add(std::string_view symbol, std::int64_t count)
    {
        auto it = std::find_if(counts.begin(), counts.end(),
                               [symbol](const auto &c) { return c.first == symbol; });
        if (it == counts.end())
            counts.emplace_back(symbol, std::min(count, kSaturated));
        else
            it->second = std::min(it->second + count, kSaturated);
    }
};

bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\u00a0';
}

// 0..9 for a digit or a subscript digit, -1 otherwise.
int digitValue(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return int(c - U'0');
    if (c >= U'\u2080' && c <= U'\u2089')
        return int(c - U'\u2080');
    return -1;
}

class Parser
{
public:
    explicit Parser(std::u32string_view text) : text_(text) {}

    ParsedFormula run()
    {
        ParsedFormula result;
        size_t end = text_.size();
        while (end > 0 && isBlank(text_[end - 1]))
            --end;
        while (i_ < end && isBlank(text_[i_]))
            ++i_;
        text_ = text_.substr(0, end);
        if (i_ == end)
            return fail(FormulaError::Empty, 0);

        std::vector<Group> stack{Group{0, {}}};
        while (i_ < text_.size()) {
            const char32_t c = text_[i_];
            const int position = int(i_) + 1;
            if (c >= U'A' && c <= U'Z') {
                std::string symbol(1, char(c));
                ++i_;
                if (i_ < text_.size() && text_[i_] >= U'a' && text_[i_] <= U'z')
                    symbol += char(text_[i_++]);
                const auto isotopes = isotopesOf(symbol);
                if (isotopes.empty())
                    return fail(FormulaError::UnknownElement, position,
                                std::u32string(symbol.begin(), symbol.end()));
                std::int64_t count = 1;
                if (!readCount(count))
                    return error_;
                stack.back().add(isotopes.front().symbol, count);
            } else if (c == U'(') {
                stack.push_back(Group{position, {}});
                ++i_;
            } else if (c == U')') {
                if (stack.size() == 1)
                    return fail(FormulaError::UnopenedBracket, position);
                Group group = std::move(stack.back());
                stack.pop_back();
                if (group.counts.empty())
                    return fail(FormulaError::EmptyBrackets, group.openPosition);
                ++i_;
                std::int64_t multiplier = 1;
                if (!readCount(multiplier))
                    return error_;
                for (const auto &[symbol, count] : group.counts)
                    stack.back().add(symbol, count * multiplier);
            } else {
                return fail(FormulaError::Unexpected, position, std::u32string(1, c));
            }
        }
        if (stack.size() > 1)
            return fail(FormulaError::UnclosedBracket, stack.back().openPosition);

        std::int64_t atoms = 0;
        for (const auto &[symbol, count] : stack.front().counts)
            atoms += count;
        if (atoms > kMaxAtoms)
            return fail(FormulaError::TooManyAtoms, 0);
        for (const auto &[symbol, count] : stack.front().counts)
            result.elements.push_back({symbol, int(count)});
        result.atoms = int(atoms);
        return result;
    }

private:
    // The count after a symbol or a ")", 1 when none is written.
    bool readCount(std::int64_t &count)
    {
        const size_t start = i_;
        std::int64_t value = 0;
        for (; i_ < text_.size() && digitValue(text_[i_]) >= 0; ++i_)
            value = std::min(value * 10 + digitValue(text_[i_]), kSaturated);
        if (i_ == start)
            return true;
        if (value == 0) {
            fail(FormulaError::ZeroCount, int(start) + 1);
            return false;
        }
        if (digitValue(text_[start]) == 0) {
            fail(FormulaError::LeadingZero, int(start) + 1,
                 std::u32string(text_.substr(start, i_ - start)));
            return false;
        }
        count = value;
        return true;
    }

    ParsedFormula fail(FormulaError::Kind kind, int position, std::u32string text = {})
    {
        error_.error = FormulaError{kind, position, std::move(text)};
        return error_;
    }

    std::u32string_view text_;
    size_t i_ = 0;
    ParsedFormula error_;
};

} // namespace

ParsedFormula parseFormula(std::u32string_view text)
{
    return Parser(text).run();
}
