#include "reports/calculation_note_figures.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/float_chars.h"
#include "core/load_value.h"
#include "core/numtext.h"

namespace coldroom::note {
namespace {

constexpr int kMostDecimals = 15;
// A formula holds when its printed result is within this share of the result's last digit of
// what its printed numbers give (the result's own rounding takes up to half of it).
constexpr double kTolerance = 0.6;

// Digits before the point of |v| (0 for |v| < 1).
int wholeDigits(double v) {
    const double a = std::fabs(v);
    // An infinite or undefined value has no digits to count: as many as the largest double.
    return a < 1 ? 0 : std::isfinite(a) ? static_cast<int>(std::floor(std::log10(a))) + 1 : 309;
}

double readBack(const std::string& text) {
    double v = 0;
    FloatFromChars(text.data(), text.data() + text.size(), v);
    return v;
}

// One unit of the last digit a printed number shows.
double lastDigit(const std::string& text) {
    const size_t point = text.find('.');
    const size_t exponent = text.find_first_of("eE");
    if (exponent != std::string::npos) return std::fabs(readBack(text)) * 1e-14;
    if (point == std::string::npos) return 1;
    return std::pow(10.0, -static_cast<double>(text.size() - point - 1));
}

}  // namespace

std::string Num(double v, int decimals) {
    if (!std::isfinite(v)) return kUndefinedText;
    decimals = std::clamp(decimals, 0, kMostDecimals);
    char buf[64];
    // Beyond 15 whole digits a fixed text would print digits the double does not hold.
    const bool huge = std::fabs(v) >= 1e15;
    const auto r = huge ? FloatToChars(buf, buf + sizeof buf, v, std::chars_format::general, 15)
                        : FloatToChars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return GeneralText(v);
    std::string s(buf, r.ptr);
    if (!huge && s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

// ---- Expressions --------------------------------------------------------------------------

Expr::Expr(Figure* f) : figure_(f) {}
Expr::Expr(Op op, Expr a, Expr b)
    : op_(op), a_(std::make_shared<const Expr>(std::move(a))), b_(std::make_shared<const Expr>(std::move(b))) {}
Expr::Expr(Op op, Expr a) : op_(op), a_(std::make_shared<const Expr>(std::move(a))) {}

int Expr::rank() const {
    switch (op_) {
    case Op::Add:
    case Op::Sub: return 1;
    case Op::Mul:
    case Op::Div:
    case Op::Cross: return 2;
    case Op::Square:
    case Op::Pow: return 3;
    default: return 4;  // a number, a function, a bracket
    }
}

std::string Expr::text() const {
    auto inner = [](const Expr& e, bool bracket) { return bracket ? "(" + e.text() + ")" : e.text(); };
    switch (op_) {
    case Op::Leaf: {
        const std::string s = figure_->text();
        return !s.empty() && s[0] == '-' ? "(" + s + ")" : s;
    }
    case Op::Add: return a_->text() + " + " + b_->text();
    case Op::Sub: return a_->text() + " − " + inner(*b_, b_->rank() <= 1);
    case Op::Mul: return inner(*a_, a_->rank() < 2) + " · " + inner(*b_, b_->rank() < 2);
    case Op::Cross: return inner(*a_, a_->rank() < 2) + " × " + inner(*b_, b_->rank() < 2);
    case Op::Div: return inner(*a_, a_->rank() < 2) + " / " + inner(*b_, b_->rank() <= 2);
    case Op::Sqrt: return "√(" + a_->text() + ")";
    case Op::Abs: return "|" + a_->text() + "|";
    case Op::Lg: return "lg(" + a_->text() + ")";
    case Op::Square: return inner(*a_, a_->rank() < 4) + "²";
    case Op::Pow: return inner(*a_, a_->rank() < 4) + "^" + inner(*b_, b_->rank() < 4);
    case Op::Group: return "(" + a_->text() + ")";
    }
    return {};
}

double Expr::shown() const {
    switch (op_) {
    case Op::Leaf: return readBack(figure_->text());
    case Op::Add: return a_->shown() + b_->shown();
    case Op::Sub: return a_->shown() - b_->shown();
    case Op::Mul:
    case Op::Cross: return a_->shown() * b_->shown();
    case Op::Div: return a_->shown() / b_->shown();
    case Op::Sqrt: return std::sqrt(a_->shown());
    case Op::Abs: return std::fabs(a_->shown());
    case Op::Lg: return std::log10(a_->shown());
    case Op::Square: return a_->shown() * a_->shown();
    case Op::Pow: return std::pow(a_->shown(), b_->shown());
    case Op::Group: return a_->shown();
    }
    return 0;
}

void Expr::leaves(std::vector<Figure*>& out) const {
    if (figure_ && std::find(out.begin(), out.end(), figure_) == out.end()) out.push_back(figure_);
    if (a_) a_->leaves(out);
    if (b_) b_->leaves(out);
}

Expr operator+(Expr a, Expr b) { return Expr(Expr::Op::Add, std::move(a), std::move(b)); }
Expr operator-(Expr a, Expr b) { return Expr(Expr::Op::Sub, std::move(a), std::move(b)); }
Expr operator*(Expr a, Expr b) { return Expr(Expr::Op::Mul, std::move(a), std::move(b)); }
Expr operator/(Expr a, Expr b) { return Expr(Expr::Op::Div, std::move(a), std::move(b)); }
Expr Cross(Expr a, Expr b) { return Expr(Expr::Op::Cross, std::move(a), std::move(b)); }
Expr Sqrt(Expr a) { return Expr(Expr::Op::Sqrt, std::move(a)); }
Expr Abs(Expr a) { return Expr(Expr::Op::Abs, std::move(a)); }
Expr Lg(Expr a) { return Expr(Expr::Op::Lg, std::move(a)); }
Expr Square(Expr a) { return Expr(Expr::Op::Square, std::move(a)); }
Expr Pow(Expr a, Expr b) { return Expr(Expr::Op::Pow, std::move(a), std::move(b)); }
Expr Group(Expr a) { return Expr(Expr::Op::Group, std::move(a)); }

// ---- Lines --------------------------------------------------------------------------------

Line& Line::add(std::string s) {
    pieces_.push_back({std::move(s), nullptr, nullptr});
    return *this;
}
Line& Line::add(Figure* f) {
    pieces_.push_back({{}, nullptr, f});
    return *this;
}
Line& Line::add(Expr e) {
    pieces_.push_back({{}, std::make_shared<const Expr>(std::move(e)), nullptr});
    return *this;
}

std::string Line::text() const {
    std::string s;
    for (const Piece& p : pieces_) s += p.expr ? p.expr->text() : p.figure ? p.figure->text() : p.literal;
    return s;
}

Line& Line::append(const Line& other) {
    pieces_.insert(pieces_.end(), other.pieces_.begin(), other.pieces_.end());
    return *this;
}

Line operator+(Line a, const Line& b) { return std::move(a.append(b)); }

// ---- The figures ----------------------------------------------------------------------------

Figure* Figures::Fixed(double value, std::string text) {
    figures_.push_back({value, 0, 0, std::move(text)});
    return &figures_.back();
}

Figure* Figures::Exact(double value) { return Fixed(value, GeneralText(value)); }

Figure* Figures::Computed(double value, int decimals, bool single) {
    const int most = std::clamp((single ? 7 : 15) - wholeDigits(value), 0, kMostDecimals);
    figures_.push_back({value, std::min(decimals, most), most, {}});
    return &figures_.back();
}

Figure* Figures::BeforeWhole(double value, int decimals, bool single) {
    Figure* f = Computed(value, decimals, single);
    if (!std::isfinite(value)) return f;
    while (f->decimals < kMostDecimals && std::floor(readBack(f->text())) != std::floor(value)) ++f->decimals;
    f->maxDecimals = std::max(f->maxDecimals, f->decimals);
    return f;
}

void Figures::Require(Expr e, Figure* result) { required_.emplace_back(std::move(e), result); }

int Figures::Fit() {
    auto miss = [](const Expr& e, const Figure* result) {
        const std::string r = result->text();
        const double error = std::fabs(e.shown() - readBack(r));
        return std::isfinite(error) ? error / lastDigit(r) : 0.0;
    };
    // The next number of places that changes a figure's text; -1 when none is left.
    auto next = [](const Figure* f) {
        if (!f->fixed.empty()) return -1;
        const std::string now = f->text();
        for (int d = f->decimals + 1; d <= f->maxDecimals; ++d)
            if (Num(f->value, d) != now) return d;
        return -1;
    };
    for (int pass = 0; pass < 50; ++pass) {
        bool changed = false;
        for (auto& [e, result] : required_) {
            std::vector<Figure*> inputs;
            e.leaves(inputs);
            while (miss(e, result) > kTolerance) {
                // The one figure whose next place helps most.
                Figure* best = nullptr;
                int bestPlaces = 0;
                double bestMiss = 0;
                for (Figure* f : inputs) {
                    const int d = next(f);
                    if (d < 0) continue;
                    const int kept = f->decimals;
                    f->decimals = d;
                    const double m = miss(e, result);
                    f->decimals = kept;
                    if (!best || m < bestMiss) best = f, bestPlaces = d, bestMiss = m;
                }
                if (!best) break;
                best->decimals = bestPlaces;
                changed = true;
            }
        }
        if (!changed) break;
    }
    int missing = 0;
    for (const auto& [e, result] : required_) missing += miss(e, result) > kTolerance;
    return missing;
}

}  // namespace coldroom::note
