// A canvas that remembers every call, for checking a page without painting it.
#pragma once

#include <string>
#include <vector>

#include "reports/printed_report.h"

namespace coldroom {

class RecordingCanvas : public ReportCanvas {
public:
    struct Call {
        enum class Kind { Rectangle, Text } kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a text's position is (x1, y1)
        double maxWidth = 0;                    // a text's room, 0 for no limit
        double top = 0, bottom = 0;             // a wrapping text's box rows, else 0
        std::string text;
        TextStyle style;
    };
    void Rectangle(double x1, double y1, double x2, double y2) override;
    void Text(double x, double y, const std::string& text, const TextStyle& style,
              double maxWidth = 0) override;
    void WrappedText(double x, double y, const std::string& text, const TextStyle& style,
                     double maxWidth, double top, double bottom) override;
    const std::vector<Call>& calls() const { return calls_; }

private:
    std::vector<Call> calls_;
};

inline void RecordingCanvas::Rectangle(double x1, double y1, double x2, double y2) {
    calls_.push_back({Call::Kind::Rectangle, x1, y1, x2, y2, 0, 0, 0, {}, {}});
}

inline void RecordingCanvas::Text(double x, double y, const std::string& text, const TextStyle& style, double maxWidth) {
    calls_.push_back({Call::Kind::Text, x, y, x, y, maxWidth, 0, 0, text, style});
}

inline void RecordingCanvas::WrappedText(double x, double y, const std::string& text, const TextStyle& style,
                                  double maxWidth, double top, double bottom) {
    calls_.push_back({Call::Kind::Text, x, y, x, y, maxWidth, top, bottom, text, style});
}

}  // namespace coldroom
