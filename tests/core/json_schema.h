#pragma once
// A small JSON reader and a checker for the part of JSON Schema that the project's schemas use
// (type, enum, required, properties, additionalProperties: false, items, minimum), for tests of
// machine-readable output.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvan::testing {

struct Json {
    enum class Type { kNull, kBoolean, kNumber, kString, kArray, kObject };
    Type type = Type::kNull;
    bool boolean = false;
    double number = 0;
    bool integer = false;
    std::string string;
    std::vector<Json> array;
    std::vector<std::string> keys;  // an object's members, in order, with their values
    std::vector<Json> values;

    const Json* Find(std::string_view key) const {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == key) return &values[i];
        }
        return nullptr;
    }
    bool operator==(const Json& other) const {
        return type == other.type && boolean == other.boolean && number == other.number &&
               string == other.string && array == other.array && keys == other.keys &&
               values == other.values;
    }
};

// Reads one JSON document; on malformed text, error is set and the value is null.
class JsonReader {
  public:
    static Json Read(std::string_view text, std::string& error) {
        JsonReader reader(text);
        Json value = reader.Value();
        reader.Space();
        if (reader.error_.empty() && reader.at_ != text.size()) reader.Fail("text after the end");
        error = reader.error_;
        return error.empty() ? value : Json{};
    }

  private:
    explicit JsonReader(std::string_view text) : text_(text) {}

    void Fail(const std::string& what) {
        if (error_.empty()) error_ = what + " at " + std::to_string(at_);
    }
    void Space() {
        while (at_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
            ++at_;
    }
    bool Take(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    void Append(std::string& out, std::uint32_t c) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    std::uint32_t Hex4() {
        if (at_ + 4 > text_.size()) {
            Fail("short \\u escape");
            return 0;
        }
        const std::string digits(text_.substr(at_, 4));
        at_ += 4;
        char* end = nullptr;
        const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
        if (end != digits.c_str() + 4) Fail("bad \\u escape");
        return static_cast<std::uint32_t>(value);
    }
    std::string String() {
        std::string out;
        ++at_;  // the opening quote
        while (error_.empty()) {
            if (at_ >= text_.size()) {
                Fail("unterminated string");
                break;
            }
            const char c = text_[at_++];
            if (c == '"') break;
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (at_ >= text_.size()) {
                Fail("unterminated escape");
                break;
            }
            const char e = text_[at_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out.push_back(e);
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'u': {
                    std::uint32_t c1 = Hex4();
                    if (c1 >= 0xD800 && c1 < 0xDC00 && Take("\\u")) {
                        const std::uint32_t c2 = Hex4();
                        c1 = 0x10000 + ((c1 - 0xD800) << 10) + (c2 - 0xDC00);
                    }
                    Append(out, c1);
                    break;
                }
                default:
                    Fail("unknown escape");
            }
        }
        return out;
    }
    Json Value() {
        Space();
        Json value;
        if (at_ >= text_.size()) {
            Fail("missing value");
        } else if (text_[at_] == '{') {
            value.type = Json::Type::kObject;
            ++at_;
            Space();
            if (Take("}")) return value;
            while (error_.empty()) {
                Space();
                if (at_ >= text_.size() || text_[at_] != '"') {
                    Fail("missing key");
                    break;
                }
                std::string key = String();
                Space();
                if (!Take(":")) Fail("missing colon");
                value.keys.push_back(std::move(key));
                value.values.push_back(Value());
                Space();
                if (Take("}")) break;
                if (!Take(",")) Fail("missing comma");
            }
        } else if (text_[at_] == '[') {
            value.type = Json::Type::kArray;
            ++at_;
            Space();
            if (Take("]")) return value;
            while (error_.empty()) {
                value.array.push_back(Value());
                Space();
                if (Take("]")) break;
                if (!Take(",")) Fail("missing comma");
            }
        } else if (text_[at_] == '"') {
            value.type = Json::Type::kString;
            value.string = String();
        } else if (Take("true")) {
            value.type = Json::Type::kBoolean;
            value.boolean = true;
        } else if (Take("false")) {
            value.type = Json::Type::kBoolean;
        } else if (Take("null")) {
        } else {
            const std::size_t start = at_;
            while (at_ < text_.size() &&
                   std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos)
                ++at_;
            const std::string number(text_.substr(start, at_ - start));
            char* end = nullptr;
            value.type = Json::Type::kNumber;
            value.number = std::strtod(number.c_str(), &end);
            value.integer = number.find_first_of(".eE") == std::string::npos;
            if (number.empty() || end != number.c_str() + number.size()) Fail("bad value");
        }
        return value;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string error_;
};

// Where value breaks schema, one line each, with the path from the document's root.
inline void CheckSchema(const Json& value, const Json& schema, const std::string& path,
                        std::vector<std::string>& errors) {
    const auto typeName = [](const Json& v) -> std::string {
        switch (v.type) {
            case Json::Type::kNull:
                return "null";
            case Json::Type::kBoolean:
                return "boolean";
            case Json::Type::kNumber:
                return v.integer ? "integer" : "number";
            case Json::Type::kString:
                return "string";
            case Json::Type::kArray:
                return "array";
            case Json::Type::kObject:
                return "object";
        }
        return "?";
    };
    const std::string actual = typeName(value);
    if (const Json* type = schema.Find("type")) {
        std::vector<std::string> allowed;
        if (type->type == Json::Type::kString) allowed.push_back(type->string);
        for (const Json& name : type->array) allowed.push_back(name.string);
        bool matches = false;
        for (const std::string& name : allowed)
            matches = matches || name == actual || (name == "number" && actual == "integer");
        if (!matches) {
            errors.push_back(path + ": " + actual + " where the schema wants another type");
            return;
        }
    }
    if (const Json* choices = schema.Find("enum")) {
        bool found = false;
        for (const Json& choice : choices->array) found = found || choice == value;
        if (!found) errors.push_back(path + ": a value outside the enum");
    }
    if (const Json* minimum = schema.Find("minimum");
        minimum && value.type == Json::Type::kNumber && value.number < minimum->number) {
        errors.push_back(path + ": below the minimum");
    }
    if (value.type == Json::Type::kObject) {
        const Json* properties = schema.Find("properties");
        if (const Json* required = schema.Find("required")) {
            for (const Json& key : required->array) {
                if (!value.Find(key.string)) errors.push_back(path + ": no " + key.string);
            }
        }
        const Json* additional = schema.Find("additionalProperties");
        for (std::size_t i = 0; i < value.keys.size(); ++i) {
            const std::string& key = value.keys[i];
            const Json& member = value.values[i];
            const Json* property = properties ? properties->Find(key) : nullptr;
            if (property) {
                CheckSchema(member, *property, path + "/" + key, errors);
            } else if (additional && additional->type == Json::Type::kBoolean &&
                       !additional->boolean) {
                errors.push_back(path + ": " + key + " is not in the schema");
            }
        }
    }
    if (value.type == Json::Type::kArray) {
        if (const Json* items = schema.Find("items")) {
            for (std::size_t i = 0; i < value.array.size(); ++i)
                CheckSchema(value.array[i], *items, path + "/" + std::to_string(i), errors);
        }
    }
}

}  // namespace zorvan::testing
