// The numbers of the calculation note and the formulas that join them. A reviewer recomputes
// every formula line from the numbers it prints, so each computed number is printed with the
// decimals its uses need: a formula is built once as an expression of figures, printed with
// the numbers put in, and evaluated from those printed numbers; Fit() adds decimals to the
// figures a formula reads until its printed result follows from them within the result's last
// digit.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace coldroom::note {

// `v` rounded to `decimals` places, trailing zeros dropped, a point before the fraction,
// whatever the locale; "—" for a value that is not finite. Valid for every double.
std::string Num(double v, int decimals);

// A number the note prints.
struct Figure {
    double value = 0;
    int decimals = 0;
    int maxDecimals = 0;   // the most a formula may ask for (the precision the value has)
    std::string fixed;     // printed as it is, whatever a formula needs ("" for a computed figure)

    std::string text() const { return fixed.empty() ? Num(value, decimals) : fixed; }
};

// An arithmetic expression of figures: printed with the numbers put in, negative numbers in
// brackets, brackets only where the order of operations needs them.
class Expr {
public:
    enum class Op { Leaf, Add, Sub, Mul, Div, Cross, Sqrt, Abs, Lg, Square, Pow, Group };
    Expr(Figure* f);  // NOLINT: a figure reads as an expression
    Expr(Op op, Expr a, Expr b);
    Expr(Op op, Expr a);

    std::string text() const;
    // From the printed numbers.
    double shown() const;
    void leaves(std::vector<Figure*>& out) const;

private:
    int rank() const;
    Op op_ = Op::Leaf;
    Figure* figure_ = nullptr;
    std::shared_ptr<const Expr> a_, b_;
};

Expr operator+(Expr a, Expr b);
Expr operator-(Expr a, Expr b);
Expr operator*(Expr a, Expr b);
Expr operator/(Expr a, Expr b);
Expr Cross(Expr a, Expr b);  // "a × b", for sizes
Expr Sqrt(Expr a);
Expr Abs(Expr a);
Expr Lg(Expr a);
Expr Square(Expr a);
Expr Pow(Expr a, Expr b);
Expr Group(Expr a);  // brackets the order of operations would not need

// A formula line's text: literal pieces, figures and expressions, printed once every figure has
// its decimals.
class Line {
public:
    Line() = default;
    Line(const char* s) { add(s); }         // NOLINT
    Line(std::string s) { add(std::move(s)); }  // NOLINT
    Line(Figure* f) { add(f); }             // NOLINT: a figure alone, as a value or a result
    Line(Expr e) { add(std::move(e)); }     // NOLINT
    Line& add(std::string s);
    Line& add(Figure* f);
    Line& add(Expr e);
    Line& append(const Line& other);
    std::string text() const;
    bool empty() const { return pieces_.empty(); }

private:
    struct Piece {
        std::string literal;
        std::shared_ptr<const Expr> expr;
        Figure* figure;  // a result, printed as it is (no brackets)
    };
    std::vector<Piece> pieces_;
};
// Pieces keep their figures: the text is formed when it is read.
Line operator+(Line a, const Line& b);

// The figures of one note and the formulas that must hold between them.
class Figures {
public:
    // A number printed as `text` (an entry, a constant, a figure the results show).
    Figure* Fixed(double value, std::string text);
    // A number read from an entry or the tables: printed in full (up to 15 digits).
    Figure* Exact(double value);
    // A computed number, printed with at least `decimals` places; `single`: the calculation
    // holds it in single precision, so no more than 7 significant digits are meaningful.
    Figure* Computed(double value, int decimals, bool single = false);
    // A number whose whole part is taken next: as Computed, with places enough that the whole
    // part of the printed number is that of the value (365.9999, not 366).
    Figure* BeforeWhole(double value, int decimals, bool single = false);

    // `e`, evaluated from its printed numbers, must give `result` as printed.
    void Require(Expr e, Figure* result);
    // Adds decimals to the figures the formulas read until every formula holds, or no more
    // decimals are meaningful. Returns the number of formulas that still miss.
    int Fit();

private:
    std::deque<Figure> figures_;
    std::vector<std::pair<Expr, Figure*>> required_;
};

}  // namespace coldroom::note
