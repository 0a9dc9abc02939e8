#include "arithmetic_fact.h"

#include <stdexcept>

namespace sumbrook {

namespace {

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

std::optional<ArithmeticFact> ArithmeticFact::of(const PracticeFact& fact) {
    if (fact.kind != FactKind::TwoNumber && fact.kind != FactKind::Expression) {
        return std::nullopt;
    }
    const auto count = static_cast<int>(fact.numbers.size());
    if (count < 3 || fact.signs.size() != count - 2 || fact.blank < 0 || fact.blank >= count) {
        return std::nullopt;
    }
    std::vector<char> signs;
    for (const QChar sign : fact.signs) {
        if (sign != u'+' && sign != u'-') {
            return std::nullopt;
        }
        signs.push_back(static_cast<char>(sign.unicode()));
    }
    ArithmeticFact out(std::vector<int>(fact.numbers.begin(), fact.numbers.end() - 1),
                       std::move(signs), fact.blank == count - 1 ? kResultBlank : fact.blank);
    if (out.result() != fact.numbers.back() || !out.staysNatural()) {
        return std::nullopt;
    }
    return out;
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
