#pragma once
// A small JSON writer for what the page reads from the core: one object at a time, keys in the
// order they are written. Cell texts may hold any character of the code page, control characters
// included, so every string goes through one escaper.

#include <string>
#include <string_view>

namespace zorvan::web {

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);

class JsonObject {
  public:
    JsonObject& Add(std::string_view key, std::string_view text);
    JsonObject& Add(std::string_view key, const char* text) {
        return Add(key, std::string_view(text));
    }
    JsonObject& Add(std::string_view key, bool value);
    JsonObject& Add(std::string_view key, int value);
    JsonObject& Add(std::string_view key, double value);
    // A value already written as JSON (an array or another object).
    JsonObject& AddRaw(std::string_view key, std::string_view json);
    std::string Text() const { return text_ + "}"; }

  private:
    void Key(std::string_view key);
    std::string text_ = "{";
};

}  // namespace zorvan::web
