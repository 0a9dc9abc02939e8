#include "arithmetic_fact.h"

#include <stdexcept>

namespace sumbrook {

namespace {

enum class TokenKind { Number, Plus, Minus, Equals, Blank };

struct Token {
    TokenKind kind;
    int value = 0;
};

bool isSpace(QChar c) {
    return c == u' ' || c == u'\u3000' || c == u'\t';
}

int digitOf(QChar c) {
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (c >= u'\uFF10' && c <= u'\uFF19') {  // full-width digits
        return c.unicode() - u'\uFF10';
    }
    return -1;
}

// Numbers stay small: a first-grade fact never needs more than four digits.
constexpr int kMaxDigits = 4;

std::optional<std::vector<Token>> tokenise(const QString& text) {
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text[i];
        if (isSpace(c)) {
            ++i;
            continue;
        }
        if (digitOf(c) >= 0) {
            int value = 0;
            int digits = 0;
            while (i < n && digitOf(text[i]) >= 0) {
                if (++digits > kMaxDigits) {
                    return std::nullopt;
                }
                value = value * 10 + digitOf(text[i]);
                ++i;
            }
            tokens.push_back({TokenKind::Number, value});
            continue;
        }
        if (c == u'+' || c == u'＋') {
            tokens.push_back({TokenKind::Plus});
        } else if (c == u'-' || c == u'－' || c == u'\u2212') {
            tokens.push_back({TokenKind::Minus});
        } else if (c == u'=' || c == u'＝') {
            tokens.push_back({TokenKind::Equals});
        } else if (c == u'□' || c == u'?' || c == u'？' || c == u'_') {
            // A run of underscores is one blank.
            while (c == u'_' && i + 1 < n && text[i + 1] == u'_') {
                ++i;
            }
            tokens.push_back({TokenKind::Blank});
        } else if (c == u'(' || c == u'（') {
            // "( )" with nothing but spaces inside is a blank.
            qsizetype j = i + 1;
            while (j < n && isSpace(text[j])) {
                ++j;
            }
            if (j >= n || (text[j] != u')' && text[j] != u'）')) {
                return std::nullopt;
            }
            i = j;
            tokens.push_back({TokenKind::Blank});
        } else {
            return std::nullopt;
        }
        ++i;
    }
    return tokens;
}

int evaluate(const std::vector<int>& terms, const std::vector<char>& signs) {
    int value = terms.front();
    for (std::size_t k = 0; k < signs.size(); ++k) {
        value += signs[k] == '+' ? terms[k + 1] : -terms[k + 1];
    }
    return value;
}

QString signText(char sign) {
    return sign == '+' ? QStringLiteral(" ＋ ") : QStringLiteral(" － ");
}

}  // namespace

ArithmeticFact::ArithmeticFact(std::vector<int> terms, std::vector<char> signs, int blank)
    : terms_(std::move(terms)), signs_(std::move(signs)), blank_(blank) {
    if (terms_.empty() || signs_.size() + 1 != terms_.size() ||
        blank_ >= static_cast<int>(terms_.size()) || blank_ < kResultBlank) {
        throw std::invalid_argument("not a fact");
    }
    result_ = evaluate(terms_, signs_);
}

std::optional<ArithmeticFact> ArithmeticFact::parse(const QString& shown) {
    const auto tokens = tokenise(shown);
    if (!tokens || tokens->empty()) {
        return std::nullopt;
    }
    std::vector<std::optional<int>> terms;  // nothing for the blank
    std::vector<char> signs;
    std::size_t i = 0;
    auto operand = [&]() -> bool {
        if (i >= tokens->size()) {
            return false;
        }
        const Token& t = (*tokens)[i];
        if (t.kind == TokenKind::Number) {
            terms.emplace_back(t.value);
        } else if (t.kind == TokenKind::Blank) {
            terms.emplace_back(std::nullopt);
        } else {
            return false;
        }
        ++i;
        return true;
    };
    if (!operand()) {
        return std::nullopt;
    }
    while (i < tokens->size() &&
           ((*tokens)[i].kind == TokenKind::Plus || (*tokens)[i].kind == TokenKind::Minus)) {
        signs.push_back((*tokens)[i].kind == TokenKind::Plus ? '+' : '-');
        ++i;
        if (!operand()) {
            return std::nullopt;
        }
    }
    if (signs.empty()) {
        return std::nullopt;
    }
    std::optional<int> stated;  // the result as shown, if it is
    bool resultBlank = true;
    if (i < tokens->size()) {
        if ((*tokens)[i].kind != TokenKind::Equals) {
            return std::nullopt;
        }
        ++i;
        if (i < tokens->size()) {
            const Token& t = (*tokens)[i];
            if (t.kind == TokenKind::Number) {
                stated = t.value;
                resultBlank = false;
            } else if (t.kind != TokenKind::Blank) {
                return std::nullopt;
            }
            ++i;
        }
        if (i != tokens->size()) {
            return std::nullopt;
        }
    }

    int blankTerm = kResultBlank;
    for (std::size_t k = 0; k < terms.size(); ++k) {
        if (!terms[k]) {
            if (blankTerm != kResultBlank || resultBlank) {
                return std::nullopt;  // two blanks: nothing to solve
            }
            blankTerm = static_cast<int>(k);
        }
    }
    std::vector<int> known;
    for (const auto& t : terms) {
        known.push_back(t.value_or(0));
    }
    if (blankTerm != kResultBlank) {
        // Solve for the blank: the result is the rest plus or minus the blank.
        const int rest = evaluate(known, signs);
        const bool added = blankTerm == 0 || signs[static_cast<std::size_t>(blankTerm - 1)] == '+';
        const int value = added ? *stated - rest : rest - *stated;
        if (value < 0) {
            return std::nullopt;
        }
        known[static_cast<std::size_t>(blankTerm)] = value;
    }
    ArithmeticFact fact(std::move(known), std::move(signs), blankTerm);
    if (stated && *stated != fact.result()) {
        return std::nullopt;  // a result shown beside a question that does not make it
    }
    if (!fact.staysNatural()) {
        return std::nullopt;
    }
    return fact;
}

int ArithmeticFact::answer() const {
    return blank_ == kResultBlank ? result_ : terms_[static_cast<std::size_t>(blank_)];
}

bool ArithmeticFact::staysNatural() const {
    int value = terms_.front();
    if (value < 0) {
        return false;
    }
    for (std::size_t k = 0; k < signs_.size(); ++k) {
        if (terms_[k + 1] < 0) {
            return false;
        }
        value += signs_[k] == '+' ? terms_[k + 1] : -terms_[k + 1];
        if (value < 0) {
            return false;
        }
    }
    return true;
}

QString ArithmeticFact::text(bool withAnswer) const {
    auto number = [&](int value, bool isBlank) {
        if (!isBlank) {
            return QString::number(value);
        }
        return withAnswer ? QStringLiteral("（%1）").arg(value) : QStringLiteral("（　　）");
    };
    QString out = number(terms_.front(), blank_ == 0);
    for (std::size_t k = 0; k < signs_.size(); ++k) {
        out += signText(signs_[k]);
        out += number(terms_[k + 1], blank_ == static_cast<int>(k + 1));
    }
    out += QStringLiteral(" ＝");
    if (blank_ != kResultBlank) {
        out += u' ' + QString::number(result_);
    } else if (withAnswer) {
        out += u' ' + QString::number(result_);
    }
    return out;
}

QString ArithmeticFact::sheetText() const {
    return text(false);
}

QString ArithmeticFact::keyText() const {
    return text(true);
}

ArithmeticFact ArithmeticFact::withTerm(std::size_t i, int value) const {
    std::vector<int> terms = terms_;
    terms.at(i) = value;
    return ArithmeticFact(std::move(terms), signs_, blank_);
}

}  // namespace sumbrook
