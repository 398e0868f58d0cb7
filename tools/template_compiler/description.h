// The readable descriptions of windows that the template compiler turns
// into the program's template block.
//
// A description is a text file (UTF-8) of sections in the order of the
// window's records:
//
//   # A comment runs to the end of the line.
//   [window 0x52010001]               the window itself: program-set, ...
//   [own 0x06010000]                  the window's own unit
//   [unit 0x16011E33 TreeBox 树型框1]  a unit: id, kind, name
//   [menu 0x26012229]                 a menu item
//
// and in each section lines `key = value`.  A value is an integer (decimal
// or 0x hex, may be negative), a string in double quotes (\" \\ \r \n \t
// escapes), a word (yes, no, a flag, a handler's name), a list of values
// separated by commas, or a function of values: file("assets/x.jpg"),
// imagelist("a.png", "b.png"), icon("x.png"), whose arguments may run
// over several lines.  A key may repeat where the
// property is a list of its own (the event bindings: `on 0 = Handler`).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tc {

struct Value {
    enum class Kind { Integer, String, Word, List, Call } kind = Kind::Word;
    std::int64_t integer = 0;
    std::string text;             // String (UTF-8), Word, Call (the function's name)
    std::vector<Value> items;     // List, Call (the arguments)
    int line = 0;

    bool isInteger() const { return kind == Kind::Integer; }
    bool isString() const { return kind == Kind::String; }
    bool isWord() const { return kind == Kind::Word; }
    bool isWord(const char* w) const { return kind == Kind::Word && text == w; }
};

struct Entry {
    std::string key;               // may hold spaces: "on 0"
    Value value;
    int line = 0;
    mutable bool used = false;     // set when a builder consumed it
};

struct Section {
    std::vector<std::string> header; // words of the [ ... ] line
    std::vector<Entry> entries;
    int line = 0;

    const Entry* find(const std::string& key) const;
};

struct Description {
    std::string fileName;
    std::vector<Section> sections;
};

// A failure to read or build a description: where and what.
struct Failure {
    std::string file;
    int line = 0;
    std::string message;
    std::string text() const;
};

struct ParseResult {
    Description description;
    std::optional<Failure> failure;
};

ParseResult ParseDescription(const std::string& fileName, const std::string& text);

} // namespace tc
