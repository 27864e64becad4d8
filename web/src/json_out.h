// A small JSON writer for what the page reads: objects, arrays, strings (UTF-8, escaped),
// whole numbers and booleans, with the commas placed by the writer.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/json_text.h"

namespace coldroom {

class JsonOut {
public:
    JsonOut& object() { return open('{'); }
    JsonOut& array() { return open('['); }
    JsonOut& end() {
        text_ += closers_.back();
        closers_.pop_back();
        first_.pop_back();
        return *this;
    }
    // A member's name; its value follows.
    JsonOut& key(std::string_view name) {
        comma();
        quote(name);
        text_ += ':';
        keyed_ = true;
        return *this;
    }
    JsonOut& value(std::string_view s) {
        comma();
        quote(s);
        return *this;
    }
    JsonOut& value(const char* s) { return s ? value(std::string_view(s)) : null(); }
    JsonOut& value(const std::string& s) { return value(std::string_view(s)); }
    JsonOut& value(bool b) {
        comma();
        text_ += b ? "true" : "false";
        return *this;
    }
    JsonOut& value(int n) {
        comma();
        text_ += std::to_string(n);
        return *this;
    }
    JsonOut& value(double d) {
        comma();
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15g", d);
        text_ += buf;
        return *this;
    }
    JsonOut& null() {
        comma();
        text_ += "null";
        return *this;
    }
    template <class T> JsonOut& member(std::string_view name, const T& v) { return key(name).value(v); }

    const std::string& text() const { return text_; }

private:
    JsonOut& open(char c) {
        comma();
        text_ += c;
        closers_.push_back(c == '{' ? '}' : ']');
        first_.push_back(1);
        return *this;
    }
    void comma() {
        if (keyed_) {
            keyed_ = false;
            return;
        }
        if (first_.empty()) return;
        if (first_.back()) first_.back() = 0;
        else text_ += ',';
    }
    void quote(std::string_view s) { text_ += JsonString(s); }

    std::string text_;
    std::vector<char> closers_;
    std::vector<char> first_;
    bool keyed_ = false;
};

}  // namespace coldroom
