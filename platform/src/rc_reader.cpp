// Resource script reader: a small preprocessor feeding a recursive-descent
// parser for the menu, dialog and icon statements (see rc_reader.h).
#include "rc_reader.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <utility>

namespace layer {

RcError::RcError(std::string file_, int line_, std::string message_)
    : std::runtime_error(file_ + ":" + std::to_string(line_) + ": error: " + message_),
      file(std::move(file_)),
      line(line_),
      message(std::move(message_)) {}

namespace {

// ---------------------------------------------------------------------------
// Text helpers

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k)
        if (upper(a[k]) != upper(b[k])) return false;
    return true;
}

std::string to_upper(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = upper(c);
    return r;
}

bool ends_with_ci(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && iequals(s.substr(s.size() - suffix.size()), suffix);
}

bool is_ident_start(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool is_ident_char(char c) { return is_ident_start(c) || (c >= '0' && c <= '9'); }
bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int hex_value(char c) { return c <= '9' ? c - '0' : (upper(c) - 'A' + 10); }

void append_utf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// True if `s` is well-formed UTF-8 (no overlong forms, no surrogates).
bool valid_utf8(std::string_view s) {
    size_t k = 0;
    while (k < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[k]);
        size_t n;
        uint32_t cp;
        if (c < 0x80) {
            ++k;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            n = 1, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3, cp = c & 0x07;
        } else {
            return false;
        }
        if (n >= s.size() - k) return false;  // truncated sequence
        for (size_t m = 1; m <= n; ++m) {
            unsigned char d = static_cast<unsigned char>(s[k + m]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        static const uint32_t min_for_length[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < min_for_length[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        k += n + 1;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Built-in Win32 constants. Those the layer's <windows.h> declares are taken
// from it, so both always agree; the rest are further Win32 values that
// resource scripts commonly use.

struct Constant {
    const char* name;
    uint32_t value;
};

#define LAYER_CONSTANT(n) {#n, static_cast<uint32_t>(n)}
const Constant kConstants[] = {
    LAYER_CONSTANT(IDOK), LAYER_CONSTANT(IDCANCEL),
    {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5}, {"IDYES", 6}, {"IDNO", 7}, {"IDCLOSE", 8}, {"IDHELP", 9},

    LAYER_CONSTANT(WS_OVERLAPPED), LAYER_CONSTANT(WS_POPUP), LAYER_CONSTANT(WS_CHILD),
    LAYER_CONSTANT(WS_MINIMIZE), LAYER_CONSTANT(WS_VISIBLE), LAYER_CONSTANT(WS_DISABLED),
    LAYER_CONSTANT(WS_CLIPSIBLINGS), LAYER_CONSTANT(WS_CLIPCHILDREN), LAYER_CONSTANT(WS_MAXIMIZE),
    LAYER_CONSTANT(WS_CAPTION), LAYER_CONSTANT(WS_BORDER), LAYER_CONSTANT(WS_DLGFRAME),
    LAYER_CONSTANT(WS_VSCROLL), LAYER_CONSTANT(WS_HSCROLL), LAYER_CONSTANT(WS_SYSMENU),
    LAYER_CONSTANT(WS_THICKFRAME), LAYER_CONSTANT(WS_GROUP), LAYER_CONSTANT(WS_TABSTOP),
    LAYER_CONSTANT(WS_MINIMIZEBOX), LAYER_CONSTANT(WS_MAXIMIZEBOX), LAYER_CONSTANT(WS_OVERLAPPEDWINDOW),
    {"WS_POPUPWINDOW", 0x80880000}, {"WS_CHILDWINDOW", 0x40000000}, {"WS_TILED", 0},
    {"WS_ICONIC", 0x20000000}, {"WS_SIZEBOX", 0x00040000}, {"WS_TILEDWINDOW", 0x00CF0000},

    LAYER_CONSTANT(WS_EX_DLGMODALFRAME),
    {"WS_EX_NOPARENTNOTIFY", 0x4}, {"WS_EX_TOPMOST", 0x8}, {"WS_EX_ACCEPTFILES", 0x10},
    {"WS_EX_TRANSPARENT", 0x20}, {"WS_EX_MDICHILD", 0x40}, {"WS_EX_TOOLWINDOW", 0x80},
    {"WS_EX_WINDOWEDGE", 0x100}, {"WS_EX_CLIENTEDGE", 0x200}, {"WS_EX_CONTEXTHELP", 0x400},
    {"WS_EX_RIGHT", 0x1000}, {"WS_EX_LEFT", 0}, {"WS_EX_RTLREADING", 0x2000}, {"WS_EX_LTRREADING", 0},
    {"WS_EX_LEFTSCROLLBAR", 0x4000}, {"WS_EX_RIGHTSCROLLBAR", 0}, {"WS_EX_CONTROLPARENT", 0x10000},
    {"WS_EX_STATICEDGE", 0x20000}, {"WS_EX_APPWINDOW", 0x40000},

    LAYER_CONSTANT(DS_SETFONT), LAYER_CONSTANT(DS_MODALFRAME), LAYER_CONSTANT(DS_3DLOOK),
    LAYER_CONSTANT(DS_CENTER),
    {"DS_ABSALIGN", 0x1}, {"DS_SYSMODAL", 0x2}, {"DS_FIXEDSYS", 0x8}, {"DS_NOFAILCREATE", 0x10},
    {"DS_LOCALEDIT", 0x20}, {"DS_NOIDLEMSG", 0x100}, {"DS_SETFOREGROUND", 0x200}, {"DS_CONTROL", 0x400},
    {"DS_CENTERMOUSE", 0x1000}, {"DS_CONTEXTHELP", 0x2000}, {"DS_SHELLFONT", 0x48},

    LAYER_CONSTANT(BS_PUSHBUTTON), LAYER_CONSTANT(BS_DEFPUSHBUTTON), LAYER_CONSTANT(BS_LEFT),
    LAYER_CONSTANT(BS_RIGHT), LAYER_CONSTANT(BS_CENTER),
    {"BS_CHECKBOX", 0x2}, {"BS_AUTOCHECKBOX", 0x3}, {"BS_RADIOBUTTON", 0x4}, {"BS_3STATE", 0x5},
    {"BS_AUTO3STATE", 0x6}, {"BS_GROUPBOX", 0x7}, {"BS_AUTORADIOBUTTON", 0x9}, {"BS_LEFTTEXT", 0x20},
    {"BS_TOP", 0x400}, {"BS_BOTTOM", 0x800}, {"BS_VCENTER", 0xC00}, {"BS_PUSHLIKE", 0x1000},
    {"BS_MULTILINE", 0x2000}, {"BS_NOTIFY", 0x4000}, {"BS_FLAT", 0x8000},

    LAYER_CONSTANT(ES_LEFT), LAYER_CONSTANT(ES_CENTER), LAYER_CONSTANT(ES_RIGHT),
    LAYER_CONSTANT(ES_MULTILINE), LAYER_CONSTANT(ES_AUTOHSCROLL), LAYER_CONSTANT(ES_READONLY),
    {"ES_UPPERCASE", 0x8}, {"ES_LOWERCASE", 0x10}, {"ES_PASSWORD", 0x20}, {"ES_AUTOVSCROLL", 0x40},
    {"ES_NOHIDESEL", 0x100}, {"ES_OEMCONVERT", 0x400}, {"ES_WANTRETURN", 0x1000}, {"ES_NUMBER", 0x2000},

    LAYER_CONSTANT(SS_LEFT), LAYER_CONSTANT(SS_CENTER), LAYER_CONSTANT(SS_RIGHT),
    LAYER_CONSTANT(SS_NOPREFIX),
    {"SS_ICON", 0x3}, {"SS_BLACKRECT", 0x4}, {"SS_GRAYRECT", 0x5}, {"SS_WHITERECT", 0x6},
    {"SS_BLACKFRAME", 0x7}, {"SS_GRAYFRAME", 0x8}, {"SS_WHITEFRAME", 0x9}, {"SS_SIMPLE", 0xB},
    {"SS_LEFTNOWORDWRAP", 0xC}, {"SS_NOTIFY", 0x100}, {"SS_CENTERIMAGE", 0x200}, {"SS_SUNKEN", 0x1000},

    {"LANG_NEUTRAL", 0x00}, {"LANG_GERMAN", 0x07}, {"LANG_ENGLISH", 0x09},
    {"SUBLANG_NEUTRAL", 0x00}, {"SUBLANG_DEFAULT", 0x01}, {"SUBLANG_GERMAN", 0x01},
    {"SUBLANG_ENGLISH_US", 0x01},
    {"FW_DONTCARE", 0}, {"FW_NORMAL", 400}, {"FW_BOLD", 700},
    {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1},
};
#undef LAYER_CONSTANT

// System headers that bring the Win32 constants into a script.
const char* const kWin32Headers[] = {"windows.h", "winres.h", "winresrc.h", "winuser.h", "afxres.h"};

// ---------------------------------------------------------------------------
// Tokens

enum class Tok { End, Eol, Ident, Number, String, Punct };

struct Token {
    Tok kind = Tok::End;
    std::string text;   // identifier, punctuator, number as written, or decoded string
    int64_t value = 0;  // a number's value, wrapped to 32 bits
    int file = 0;
    int line = 1;
    bool hash_at_line_start = false;
};

std::string describe(const Token& t) {
    switch (t.kind) {
    case Tok::End: return "end of file";
    case Tok::Eol: return "end of line";
    case Tok::String: return "string \"" + t.text + "\"";
    default: return "'" + t.text + "'";
    }
}

bool is_punct(const Token& t, const char* p) { return t.kind == Tok::Punct && t.text == p; }
bool is_kw(const Token& t, const char* kw) { return t.kind == Tok::Ident && iequals(t.text, kw); }

int64_t wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// Anything that yields tokens one at a time to the expression evaluator.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual const Token& peek() = 0;
    virtual void advance() = 0;
    // Throws the RcError for a fault at `at`.
    virtual void raise(const Token& at, const std::string& message) = 0;
    [[noreturn]] void fail(const Token& at, const std::string& message) {
        raise(at, message);
        throw std::logic_error("Cursor::raise returned");
    }
};

// Integer expressions. In the preprocessor's #if the full set of C operators
// applies; in resource statements the resource compiler's: | & + - * / ~ and
// parentheses. Arithmetic is 32-bit, as the resource compiler's.
class Expression {
public:
    using SymbolValue = std::function<int64_t(const Token&)>;
    Expression(Cursor& c, bool preprocessor, SymbolValue symbol)
        : c_(c), pp_(preprocessor), symbol_(std::move(symbol)) {}

    int64_t parse() { return conditional(); }
    // An expression without a top-level '|', for the terms of a style.
    int64_t parse_term() { return binary(4); }

private:
    int precedence(const Token& t) const {
        if (t.kind != Tok::Punct) return 0;
        const std::string& p = t.text;
        if (p == "|") return 3;
        if (p == "&") return 5;
        if (p == "+" || p == "-") return 9;
        if (p == "*" || p == "/") return 10;
        if (!pp_) return 0;
        if (p == "||") return 1;
        if (p == "&&") return 2;
        if (p == "^") return 4;
        if (p == "==" || p == "!=") return 6;
        if (p == "<" || p == ">" || p == "<=" || p == ">=") return 7;
        if (p == "<<" || p == ">>") return 8;
        if (p == "%") return 10;
        return 0;
    }

    int64_t conditional() {
        int64_t v = binary(1);
        if (pp_ && is_punct(c_.peek(), "?")) {
            c_.advance();
            int64_t a = conditional();
            if (!is_punct(c_.peek(), ":")) c_.fail(c_.peek(), "expected ':' in conditional expression");
            c_.advance();
            int64_t b = conditional();
            return v ? a : b;
        }
        return v;
    }

    int64_t binary(int min_prec) {
        int64_t lhs = unary();
        for (;;) {
            Token op = c_.peek();
            int prec = precedence(op);
            if (prec == 0 || prec < min_prec) return lhs;
            c_.advance();
            int64_t rhs = binary(prec + 1);
            lhs = apply(op, lhs, rhs);
        }
    }

    int64_t apply(const Token& op, int64_t a, int64_t b) {
        const std::string& p = op.text;
        if ((p == "/" || p == "%") && b == 0) c_.fail(op, "division by zero");
        if (p == "|") return wrap32(a | b);
        if (p == "&") return wrap32(a & b);
        if (p == "^") return wrap32(a ^ b);
        if (p == "+") return wrap32(a + b);
        if (p == "-") return wrap32(a - b);
        if (p == "*") return wrap32(a * b);
        if (p == "/") return wrap32(a / b);
        if (p == "%") return wrap32(a % b);
        if (p == "||") return (a || b) ? 1 : 0;
        if (p == "&&") return (a && b) ? 1 : 0;
        if (p == "==") return a == b;
        if (p == "!=") return a != b;
        if (p == "<") return a < b;
        if (p == ">") return a > b;
        if (p == "<=") return a <= b;
        if (p == ">=") return a >= b;
        if (p == "<<") return wrap32(static_cast<int64_t>(static_cast<uint64_t>(a) << (b & 31)));
        return wrap32(a >> (b & 31));  // ">>"
    }

    int64_t unary() {
        Token t = c_.peek();
        if (t.kind == Tok::Number) {
            c_.advance();
            return t.value;
        }
        if (t.kind == Tok::Ident) {
            c_.advance();
            return symbol_(t);
        }
        if (t.kind == Tok::Punct) {
            if (t.text == "(") {
                c_.advance();
                int64_t v = conditional();
                if (!is_punct(c_.peek(), ")"))
                    c_.fail(c_.peek(), "expected ')' but found " + describe(c_.peek()));
                c_.advance();
                return v;
            }
            if (t.text == "-" || t.text == "+" || t.text == "~" || (pp_ && t.text == "!")) {
                c_.advance();
                int64_t v = unary();
                if (t.text == "-") return wrap32(-v);
                if (t.text == "~") return wrap32(~v);
                if (t.text == "!") return !v;
                return v;
            }
        }
        c_.fail(t, "expected a number or symbol but found " + describe(t));
    }

    Cursor& c_;
    bool pp_;
    SymbolValue symbol_;
};

// Tokens of a finished list, for #if.
class ListCursor : public Cursor {
public:
    ListCursor(std::vector<Token> tokens, Token end, std::function<void(const Token&, const std::string&)> fail)
        : tokens_(std::move(tokens)), end_(std::move(end)), fail_(std::move(fail)) {}
    const Token& peek() override { return pos_ < tokens_.size() ? tokens_[pos_] : end_; }
    void advance() override {
        if (pos_ < tokens_.size()) ++pos_;
    }
    void raise(const Token& at, const std::string& message) override { fail_(at, message); }

private:
    std::vector<Token> tokens_;
    Token end_;
    size_t pos_ = 0;
    std::function<void(const Token&, const std::string&)> fail_;
};

// ---------------------------------------------------------------------------
// Preprocessor

struct Source {
    int file = 0;
    std::string_view text;
    size_t pos = 0;
    int line = 1;
    bool line_start = true;
    bool header_only = false;  // *.h and *.c: only directives count
    size_t cond_base = 0;      // conditional depth when the file was entered
};

struct Conditional {
    bool parent_active;
    bool active;
    bool taken;
    bool seen_else;
    int file;
    int line;
};

struct Macro {
    std::vector<Token> body;
    int file;
    int line;
};

bool same_body(const std::vector<Token>& a, const std::vector<Token>& b) {
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k)
        if (a[k].kind != b[k].kind || a[k].text != b[k].text) return false;
    return true;
}

class Preprocessor {
public:
    Preprocessor(std::string_view text, std::string_view name, const IncludeResolver& resolve)
        : resolve_(resolve) {
        push_source(text, std::string(name));
        define_builtin("RC_INVOKED");
        define_builtin("_WIN32");
    }

    [[noreturn]] void fail(int file, int line, const std::string& message) const {
        throw RcError(files_[file], line, message);
    }
    [[noreturn]] void fail_here(const std::string& message) const { fail(top().file, top().line, message); }

    bool win32_constants() const { return win32_; }

    // The next token after preprocessing and macro expansion; Tok::End
    // (placed at the last token's line) when the script is used up.
    Token next() {
        for (;;) {
            if (!pending_.empty()) {
                Token t = std::move(pending_.front());
                pending_.pop_front();
                return remember(std::move(t));
            }
            Source& s = top();
            if (s.header_only || skipping()) {
                if (skip_to_directive())
                    directive();
                else if (!leave_source())
                    return end_token();
                continue;
            }
            Token t = lex(false);
            if (t.kind == Tok::End) {
                if (!leave_source()) return end_token();
                continue;
            }
            if (t.hash_at_line_start) {
                directive();
                continue;
            }
            if (t.kind == Tok::Ident && macros_.count(t.text)) {
                std::vector<Token> out;
                std::set<std::string> active;
                expand(t, out, active);
                pending_.insert(pending_.end(), out.begin(), out.end());
                continue;
            }
            return remember(std::move(t));
        }
    }

private:
    Source& top() { return stack_.back(); }
    const Source& top() const { return stack_.back(); }
    bool skipping() const { return !conds_.empty() && !conds_.back().active; }

    Token remember(Token t) {
        last_file_ = t.file;
        last_line_ = t.line;
        return t;
    }

    Token end_token() const {
        Token t;
        t.kind = Tok::End;
        t.file = last_file_;
        t.line = last_line_;
        return t;
    }

    void define_builtin(const char* name) {
        Token one;
        one.kind = Tok::Number;
        one.text = "1";
        one.value = 1;
        macros_[name] = Macro{{one}, 0, 0};
    }

    void push_source(std::string_view text, std::string name) {
        if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        Source s;
        s.file = static_cast<int>(files_.size());
        s.text = text;
        s.header_only = stack_.empty() ? false : (ends_with_ci(name, ".h") || ends_with_ci(name, ".c"));
        s.cond_base = conds_.size();
        files_.push_back(std::move(name));
        stack_.push_back(s);
    }

    // Ends the current file; false when it was the script itself.
    bool leave_source() {
        const Source& s = top();
        if (conds_.size() > s.cond_base) {
            const Conditional& c = conds_.back();
            fail(c.file, c.line, "unterminated conditional directive: missing #endif");
        }
        if (stack_.size() == 1) return false;
        stack_.pop_back();
        return true;
    }

    char peek_char(size_t ahead = 0) const {
        const Source& s = top();
        return s.pos + ahead < s.text.size() ? s.text[s.pos + ahead] : '\0';
    }
    bool at_end() const { return top().pos >= top().text.size(); }

    // Skips blanks, comments and escaped newlines; stops before a newline
    // or at the end of the file.
    void skip_blanks() {
        Source& s = top();
        while (s.pos < s.text.size()) {
            char c = s.text[s.pos];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++s.pos;
            } else if (c == '\\' && peek_char(1) == '\n') {
                s.pos += 2;
                ++s.line;
            } else if (c == '\\' && peek_char(1) == '\r' && peek_char(2) == '\n') {
                s.pos += 3;
                ++s.line;
            } else if (c == '/' && peek_char(1) == '/') {
                while (s.pos < s.text.size() && s.text[s.pos] != '\n') ++s.pos;
            } else if (c == '/' && peek_char(1) == '*') {
                int start = s.line;
                s.pos += 2;
                for (;;) {
                    if (s.pos >= s.text.size()) fail(s.file, start, "unterminated comment");
                    if (s.text[s.pos] == '*' && peek_char(1) == '/') {
                        s.pos += 2;
                        break;
                    }
                    if (s.text[s.pos] == '\n') ++s.line;
                    ++s.pos;
                }
            } else {
                return;
            }
        }
    }

    // One raw token. In a directive the end of the line yields Tok::Eol
    // (left unconsumed); elsewhere newlines are skipped.
    Token lex(bool directive) {
        Source& s = top();
        for (;;) {
            skip_blanks();
            if (s.pos < s.text.size() && s.text[s.pos] == '\n' && !directive) {
                ++s.pos;
                ++s.line;
                s.line_start = true;
                continue;
            }
            break;
        }
        Token t;
        t.file = s.file;
        t.line = s.line;
        if (s.pos >= s.text.size()) {
            t.kind = directive ? Tok::Eol : Tok::End;
            return t;
        }
        char c = s.text[s.pos];
        if (c == '\n') {
            t.kind = Tok::Eol;
            return t;
        }
        bool line_start = s.line_start;
        s.line_start = false;
        if (c == '"' || (c == 'L' && peek_char(1) == '"')) {
            lex_string(t);
        } else if (is_ident_start(c)) {
            size_t b = s.pos;
            while (s.pos < s.text.size() && is_ident_char(s.text[s.pos])) ++s.pos;
            t.kind = Tok::Ident;
            t.text = std::string(s.text.substr(b, s.pos - b));
        } else if (c >= '0' && c <= '9') {
            lex_number(t);
        } else {
            static const char* const two[] = {"||", "&&", "==", "!=", "<=", ">=", "<<", ">>"};
            t.kind = Tok::Punct;
            for (const char* p : two)
                if (c == p[0] && peek_char(1) == p[1]) t.text = p;
            if (t.text.empty()) {
                if (!std::strchr(",|&(){}+-*/~!<>=^%?:#", c)) {
                    char buf[48];
                    unsigned char u = static_cast<unsigned char>(c);
                    if (u >= 0x21 && u < 0x7F)
                        std::snprintf(buf, sizeof buf, "unexpected character '%c'", c);
                    else
                        std::snprintf(buf, sizeof buf, "unexpected character 0x%02X", u);
                    fail(s.file, s.line, buf);
                }
                t.text = std::string(1, c);
            }
            s.pos += t.text.size();
            t.hash_at_line_start = line_start && t.text == "#" && !directive;
        }
        return t;
    }

    void lex_number(Token& t) {
        Source& s = top();
        size_t b = s.pos;
        while (s.pos < s.text.size() && is_ident_char(s.text[s.pos])) ++s.pos;
        std::string_view w = s.text.substr(b, s.pos - b);
        t.kind = Tok::Number;
        t.text = std::string(w);
        std::string_view digits = w;
        while (!digits.empty() && (upper(digits.back()) == 'L' || upper(digits.back()) == 'U') &&
               w.size() - digits.size() < 3)
            digits.remove_suffix(1);
        uint64_t v = 0;
        bool ok = !digits.empty();
        if (digits.size() > 2 && digits[0] == '0' && upper(digits[1]) == 'X') {
            for (char d : digits.substr(2)) {
                ok = ok && is_hex(d);
                if (ok) v = v * 16 + uint64_t(hex_value(d));
                if (v > 0xFFFFFFFFull) break;
            }
        } else if (digits.size() > 1 && digits[0] == '0') {
            fail(s.file, s.line, "bad number '" + t.text + "' (octal numbers are not supported)");
        } else {
            for (char d : digits) {
                ok = ok && d >= '0' && d <= '9';
                if (ok) v = v * 10 + uint64_t(d - '0');
                if (v > 0xFFFFFFFFull) break;
            }
        }
        if (!ok) fail(s.file, s.line, "bad number '" + t.text + "'");
        if (v > 0xFFFFFFFFull) fail(s.file, s.line, "number '" + t.text + "' does not fit in 32 bits");
        t.value = wrap32(static_cast<int64_t>(v));
    }

    void lex_string(Token& t) {
        Source& s = top();
        bool wide = s.text[s.pos] == 'L';
        if (wide) ++s.pos;
        ++s.pos;  // opening quote
        t.kind = Tok::String;
        std::string out;
        auto unterminated = [&] { fail(s.file, t.line, "unterminated string"); };
        for (;;) {
            if (s.pos >= s.text.size()) unterminated();
            char c = s.text[s.pos];
            if (c == '\n') unterminated();
            if (c == '"') {
                if (peek_char(1) == '"') {  // "" stands for one quote
                    out += '"';
                    s.pos += 2;
                    continue;
                }
                ++s.pos;
                break;
            }
            if (c != '\\') {
                out += c;
                ++s.pos;
                continue;
            }
            char e = peek_char(1);
            s.pos += 2;
            switch (e) {
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\b'; break;  // the resource compiler's right-alignment mark in menus
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'x':
            case 'X': {
                uint32_t v = 0;
                int n = 0, max = wide ? 4 : 2;
                while (n < max && is_hex(peek_char())) {
                    v = v * 16 + uint32_t(hex_value(peek_char()));
                    ++s.pos;
                    ++n;
                }
                if (n == 0) fail(s.file, s.line, "\\x without hex digits in string");
                put_unit(out, v, wide, s);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    uint32_t v = uint32_t(e - '0');
                    for (int n = 1; n < 3 && peek_char() >= '0' && peek_char() <= '7'; ++n, ++s.pos)
                        v = v * 8 + uint32_t(peek_char() - '0');
                    put_unit(out, v, wide, s);
                } else if (e == '\n' || e == '\0') {
                    unterminated();
                } else {
                    fail(s.file, s.line, std::string("unknown escape sequence '\\") + e + "' in string");
                }
            }
        }
        if (!valid_utf8(out)) fail(s.file, t.line, "string is not valid UTF-8");
        t.text = std::move(out);
    }

    // A numeric escape: a byte in a narrow string, a UTF-16 unit in a wide one.
    void put_unit(std::string& out, uint32_t v, bool wide, const Source& s) {
        if (!wide) {
            out += char(v & 0xFF);
        } else {
            if (v >= 0xD800 && v <= 0xDFFF) fail(s.file, s.line, "surrogate escape in wide string");
            append_utf8(out, v);
        }
    }

    // Macro expansion; a macro is not expanded inside its own expansion.
    // The result carries the place of use, for messages.
    void expand(const Token& t, std::vector<Token>& out, std::set<std::string>& active) {
        auto m = macros_.find(t.text);
        if (t.kind != Tok::Ident || m == macros_.end() || active.count(t.text)) {
            out.push_back(t);
            return;
        }
        active.insert(t.text);
        for (Token b : m->second.body) {
            b.file = t.file;
            b.line = t.line;
            expand(b, out, active);
        }
        active.erase(t.text);
    }

    // Skips lines that do not count (inactive branches, header text) up to
    // the next directive; true after consuming its '#', false at the end.
    bool skip_to_directive() {
        Source& s = top();
        for (;;) {
            // At a line start: blanks, then maybe '#'.
            while (s.pos < s.text.size() && (s.text[s.pos] == ' ' || s.text[s.pos] == '\t' ||
                                             s.text[s.pos] == '\r' || s.text[s.pos] == '\f'))
                ++s.pos;
            if (s.pos >= s.text.size()) return false;
            if (s.text[s.pos] == '#') {
                ++s.pos;
                s.line_start = false;
                return true;
            }
            // Rest of the line, minding comments and quotes that may hide newlines or '#'.
            while (s.pos < s.text.size() && s.text[s.pos] != '\n') {
                char c = s.text[s.pos];
                if (c == '/' && peek_char(1) == '*') {
                    s.pos += 2;
                    while (s.pos < s.text.size() && !(s.text[s.pos] == '*' && peek_char(1) == '/')) {
                        if (s.text[s.pos] == '\n') ++s.line;
                        ++s.pos;
                    }
                    s.pos = std::min(s.pos + 2, s.text.size());
                } else if (c == '/' && peek_char(1) == '/') {
                    while (s.pos < s.text.size() && s.text[s.pos] != '\n') ++s.pos;
                } else if (c == '"' || c == '\'') {
                    ++s.pos;
                    while (s.pos < s.text.size() && s.text[s.pos] != c && s.text[s.pos] != '\n') {
                        if (s.text[s.pos] == '\\' && peek_char(1) != '\n') ++s.pos;
                        ++s.pos;
                    }
                    if (s.pos < s.text.size() && s.text[s.pos] == c) ++s.pos;
                } else {
                    ++s.pos;
                }
            }
            if (s.pos >= s.text.size()) return false;
            ++s.pos;
            ++s.line;
            s.line_start = true;
        }
    }

    // Consumes the end of a directive line; only blanks and comments may remain.
    void end_directive(const char* name) {
        Token t = lex(true);
        if (t.kind != Tok::Eol)
            fail(t.file, t.line, std::string("unexpected ") + describe(t) + " after #" + name);
        consume_newline();
    }

    void consume_newline() {
        Source& s = top();
        if (s.pos < s.text.size() && s.text[s.pos] == '\n') {
            ++s.pos;
            ++s.line;
        }
        s.line_start = true;
    }

    void skip_rest_of_line() {
        Source& s = top();
        while (s.pos < s.text.size() && s.text[s.pos] != '\n') ++s.pos;
        consume_newline();
    }

    std::vector<Token> rest_of_line() {
        std::vector<Token> out;
        for (;;) {
            Token t = lex(true);
            if (t.kind == Tok::Eol) break;
            out.push_back(std::move(t));
        }
        consume_newline();
        return out;
    }

    void directive() {
        Token name = lex(true);
        if (name.kind != Tok::Ident) fail(name.file, name.line, "expected a directive name after '#'");
        const std::string& d = name.text;
        if (d == "if" || d == "ifdef" || d == "ifndef") {
            bool parent = !skipping();
            bool value = false;
            if (!parent)
                skip_rest_of_line();
            else if (d == "if")
                value = condition(name);
            else
                value = defined_in_directive(d.c_str()) == (d == "ifdef");
            conds_.push_back({parent, parent && value, parent && value, false, name.file, name.line});
            return;
        }
        if (d == "elif" || d == "else" || d == "endif") {
            if (conds_.size() <= top().cond_base) fail(name.file, name.line, "#" + d + " without #if");
            Conditional& c = conds_.back();
            if (d == "endif") {
                end_directive("endif");
                conds_.pop_back();
                return;
            }
            if (c.seen_else) fail(name.file, name.line, "#" + d + " after #else");
            if (d == "else") {
                end_directive("else");
                c.seen_else = true;
                c.active = c.parent_active && !c.taken;
                c.taken = c.taken || c.active;
                return;
            }
            if (c.parent_active && !c.taken) {
                c.active = condition(name);
                c.taken = c.active;
            } else {
                c.active = false;
                skip_rest_of_line();
            }
            return;
        }
        if (skipping()) {
            skip_rest_of_line();
            return;
        }
        if (d == "define") return define();
        if (d == "undef") {
            Token n = lex(true);
            if (n.kind != Tok::Ident) fail(n.file, n.line, "expected a macro name after #undef");
            macros_.erase(n.text);
            return end_directive("undef");
        }
        if (d == "include") return include();
        if (d == "pragma") return pragma();
        if (d == "error") {
            Source& s = top();
            size_t b = s.pos;
            while (s.pos < s.text.size() && s.text[s.pos] != '\n') ++s.pos;
            std::string text(s.text.substr(b, s.pos - b));
            while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.pop_back();
            size_t first = text.find_first_not_of(" \t");
            fail(name.file, name.line, "#error " + (first == std::string::npos ? "" : text.substr(first)));
        }
        fail(name.file, name.line, "unsupported directive #" + d);
    }

    bool defined_in_directive(const char* d) {
        Token n = lex(true);
        if (n.kind != Tok::Ident) fail(n.file, n.line, std::string("expected a macro name after #") + d);
        end_directive(d);
        return macros_.count(n.text) != 0;
    }

    void define() {
        Token n = lex(true);
        if (n.kind != Tok::Ident) fail(n.file, n.line, "expected a macro name after #define");
        if (peek_char() == '(') fail(n.file, n.line, "function-like macro '" + n.text + "' is not supported");
        std::vector<Token> body = rest_of_line();
        auto old = macros_.find(n.text);
        if (old != macros_.end() && !same_body(old->second.body, body)) {
            std::string where = old->second.line > 0
                                    ? " (first defined at " + files_[old->second.file] + ":" +
                                          std::to_string(old->second.line) + ")"
                                    : " (predefined)";
            fail(n.file, n.line, "macro '" + n.text + "' redefined differently" + where);
        }
        macros_[n.text] = Macro{std::move(body), n.file, n.line};
    }

    // #if / #elif: `defined` first, then macros, then the Win32 table;
    // other names count as 0, as in C.
    bool condition(const Token& directive_name) {
        std::vector<Token> raw = rest_of_line();
        if (raw.empty()) fail(directive_name.file, directive_name.line, "#" + directive_name.text + " without a condition");
        std::vector<Token> toks;
        for (size_t k = 0; k < raw.size(); ++k) {
            const Token& t = raw[k];
            if (t.kind == Tok::Ident && t.text == "defined") {
                bool paren = k + 1 < raw.size() && is_punct(raw[k + 1], "(");
                size_t at = k + (paren ? 2 : 1);
                if (at >= raw.size() || raw[at].kind != Tok::Ident ||
                    (paren && (at + 1 >= raw.size() || !is_punct(raw[at + 1], ")"))))
                    fail(t.file, t.line, "malformed 'defined' in #" + directive_name.text);
                Token v;
                v.kind = Tok::Number;
                v.value = macros_.count(raw[at].text) ? 1 : 0;
                v.text = std::to_string(v.value);
                v.file = t.file;
                v.line = t.line;
                toks.push_back(v);
                k = paren ? at + 1 : at;
                continue;
            }
            std::set<std::string> active;
            expand(t, toks, active);
        }
        Token end;
        end.kind = Tok::Eol;
        end.file = directive_name.file;
        end.line = directive_name.line;
        ListCursor cursor(std::move(toks), end, [this](const Token& at, const std::string& m) {
            fail(at.file, at.line, m);
        });
        Expression e(cursor, true, [this](const Token& t) -> int64_t {
            if (win32_)
                if (auto v = win32_constant(t.text)) return wrap32(*v);
            return 0;
        });
        int64_t v = e.parse();
        if (cursor.peek().kind != Tok::Eol)
            fail(cursor.peek().file, cursor.peek().line,
                 "unexpected " + describe(cursor.peek()) + " in #" + directive_name.text);
        return v != 0;
    }

    void include() {
        skip_blanks();
        Source& s = top();
        int line = s.line;
        if (peek_char() == '<') {
            size_t b = ++s.pos;
            while (s.pos < s.text.size() && s.text[s.pos] != '>' && s.text[s.pos] != '\n') ++s.pos;
            if (s.pos >= s.text.size() || s.text[s.pos] != '>') fail(s.file, line, "missing '>' in #include");
            std::string header(s.text.substr(b, s.pos - b));
            ++s.pos;
            end_directive("include");
            for (const char* h : kWin32Headers)
                if (iequals(header, h)) win32_ = true;
            return;
        }
        Token n = lex(true);
        if (n.kind != Tok::String) fail(s.file, line, "expected \"file\" or <file> after #include");
        end_directive("include");
        if (once_.count(n.text)) return;
        if (stack_.size() >= 32) fail(n.file, n.line, "#include nested too deeply");
        std::optional<std::string> text;
        if (resolve_) text = resolve_(n.text);
        if (!text) fail(n.file, n.line, "cannot open include file '" + n.text + "'");
        storage_.push_back(std::move(*text));
        push_source(storage_.back(), n.text);
    }

    void pragma() {
        Token p = lex(true);
        if (p.kind == Tok::Ident && p.text == "once") {
            once_.insert(files_[top().file]);
            return end_directive("pragma");
        }
        if (p.kind == Tok::Ident && p.text == "code_page") {
            Token open = lex(true);
            Token cp = lex(true);
            Token close = lex(true);
            if (!is_punct(open, "(") || cp.kind != Tok::Number || !is_punct(close, ")"))
                fail(p.file, p.line, "expected #pragma code_page(65001)");
            if (cp.value != 65001)
                fail(cp.file, cp.line, "code page " + cp.text + " is not supported; the script must be UTF-8 (65001)");
            return end_directive("pragma");
        }
        fail(p.file, p.line, "unsupported #pragma " + (p.kind == Tok::Eol ? std::string("without a name") : describe(p)));
    }

    const IncludeResolver& resolve_;
    std::vector<std::string> files_;
    std::deque<std::string> storage_;
    std::vector<Source> stack_;
    std::vector<Conditional> conds_;
    std::map<std::string, Macro> macros_;
    std::deque<Token> pending_;
    std::set<std::string> once_;
    bool win32_ = false;
    int last_file_ = 0;
    int last_line_ = 1;
};

// ---------------------------------------------------------------------------
// Parser

const char* const kMemoryOptions[] = {"PRELOAD", "LOADONCALL", "FIXED",   "MOVEABLE", "DISCARDABLE",
                                      "PURE",    "IMPURE",     "SHARED",  "NONSHARED"};

struct MenuOptionName {
    const char* name;
    uint32_t bit;
};
const MenuOptionName kMenuOptions[] = {{"GRAYED", menu_grayed},       {"INACTIVE", menu_inactive},
                                       {"CHECKED", menu_checked},     {"MENUBARBREAK", menu_barbreak},
                                       {"MENUBREAK", menu_break},     {"HELP", menu_help}};

// The control statements with their class and styles, as GNU windres (the
// Windows build's resource compiler) applies them: without a style the
// statement's default; with a style, the expression applied to the base,
// which lacks WS_GROUP for the texts and WS_TABSTOP for the radio buttons.
// WS_CHILD | WS_VISIBLE come with every control.
struct ControlKind {
    const char* keyword;
    const char* window_class;
    uint32_t default_style;
    uint32_t base_style;
    bool has_text;
};
constexpr uint32_t kBsCheckbox = 0x2, kBsAutoCheckbox = 0x3, kBsRadio = 0x4, kBsGroupbox = 0x7,
                   kBsAutoRadio = 0x9;
const ControlKind kControlKinds[] = {
    {"PUSHBUTTON", "Button", BS_PUSHBUTTON | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"CHECKBOX", "Button", kBsCheckbox | WS_TABSTOP, kBsCheckbox | WS_TABSTOP, true},
    {"AUTOCHECKBOX", "Button", kBsAutoCheckbox | WS_TABSTOP, kBsAutoCheckbox | WS_TABSTOP, true},
    {"RADIOBUTTON", "Button", kBsRadio | WS_TABSTOP, kBsRadio, true},
    {"AUTORADIOBUTTON", "Button", kBsAutoRadio | WS_TABSTOP, kBsAutoRadio, true},
    {"GROUPBOX", "Button", kBsGroupbox, kBsGroupbox, true},
    {"LTEXT", "Static", SS_LEFT | WS_GROUP, SS_LEFT, true},
    {"CTEXT", "Static", SS_CENTER | WS_GROUP, SS_CENTER, true},
    {"RTEXT", "Static", SS_RIGHT | WS_GROUP, SS_RIGHT, true},
    {"EDITTEXT", "Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, ES_LEFT | WS_BORDER | WS_TABSTOP, false},
};

// Predefined window classes, spelled as the layer's dialog manager expects.
const char* const kClassNames[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};

constexpr uint32_t kControlBaseStyle = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kDialogDefaultStyle = WS_POPUP | WS_BORDER | WS_SYSMENU;

class Parser : public Cursor {
public:
    explicit Parser(Preprocessor& pp) : pp_(pp) { cur_ = pp_.next(); }

    const Token& peek() override { return cur_; }
    void advance() override { cur_ = pp_.next(); }
    void raise(const Token& at, const std::string& message) override { pp_.fail(at.file, at.line, message); }

    Resources parse() {
        while (cur_.kind != Tok::End) statement();
        return std::move(res_);
    }

private:
    void statement() {
        if (is_kw(cur_, "LANGUAGE")) {
            advance();
            expr();
            expect(",", "between the language and the sublanguage");
            expr();
            return;
        }
        for (const char* kw : {"STRINGTABLE", "ACCELERATORS"})
            if (is_kw(cur_, kw)) fail(cur_, std::string(kw) + " is not supported");
        Token name_tok = cur_;
        ResourceName name = resource_name();
        Token type = cur_;
        if (type.kind == Tok::End) fail(type, "unexpected end of file after the resource name " + name.display());
        if (type.kind != Tok::Ident) fail(type, "expected a resource type after " + name.display() + " but found " + describe(type));
        advance();
        memory_options();
        if (iequals(type.text, "MENU")) {
            check_unique(res_.menus, name, name_tok, "menu");
            menu(name);
        } else if (iequals(type.text, "DIALOG") || iequals(type.text, "DIALOGEX")) {
            check_unique(res_.dialogs, name, name_tok, "dialog");
            dialog(name, iequals(type.text, "DIALOGEX"));
        } else if (iequals(type.text, "VERSIONINFO")) {
            skip_version_info();
        } else if (iequals(type.text, "ICON")) {
            check_unique(res_.icons, name, name_tok, "icon");
            if (cur_.kind != Tok::String) fail(cur_, "expected the icon's file name in quotes but found " + describe(cur_));
            res_.icons.push_back({name, cur_.text, cur_.line});
            advance();
        } else {
            fail(type, "resource type '" + type.text + "' is not supported");
        }
    }

    template <class T>
    void check_unique(const std::vector<T>& list, const ResourceName& name, const Token& at, const char* kind) {
        for (const T& r : list)
            if (r.name.is_id == name.is_id && r.name.id == name.id && r.name.text == name.text)
                fail(at, std::string("duplicate ") + kind + " resource " + name.display());
    }

    ResourceName resource_name() {
        ResourceName n;
        if (cur_.kind == Tok::Number) {
            if (cur_.value < 0 || cur_.value > 0xFFFF) fail(cur_, "resource id " + cur_.text + " out of range (0..65535)");
            n.is_id = true;
            n.id = static_cast<uint16_t>(cur_.value);
        } else if (cur_.kind == Tok::Ident || cur_.kind == Tok::String) {
            if (cur_.text.empty()) fail(cur_, "empty resource name");
            n.text = to_upper(cur_.text);
        } else {
            fail(cur_, "expected a resource name but found " + describe(cur_));
        }
        advance();
        return n;
    }

    void memory_options() {
        for (;;) {
            bool found = false;
            for (const char* o : kMemoryOptions)
                if (is_kw(cur_, o)) found = true;
            if (!found) return;
            advance();
        }
    }

    // CHARACTERISTICS, VERSION and LANGUAGE before a menu's or dialog's body: no effect here.
    bool common_option() {
        if (is_kw(cur_, "CHARACTERISTICS") || is_kw(cur_, "VERSION")) {
            advance();
            expr();
            return true;
        }
        if (is_kw(cur_, "LANGUAGE")) {
            advance();
            expr();
            expect(",", "between the language and the sublanguage");
            expr();
            return true;
        }
        return false;
    }

    // --- expressions

    int64_t symbol(const Token& t) {
        if (auto v = win32_constant(t.text)) {
            if (pp_.win32_constants()) return wrap32(*v);
            fail(t, "unknown symbol '" + t.text + "' (Win32 constants need #include <windows.h>)");
        }
        fail(t, "unknown symbol '" + t.text + "'");
    }

    int64_t expr() {
        Expression e(*this, false, [this](const Token& t) { return symbol(t); });
        return e.parse();
    }

    // A style: terms joined by '|', each OR-ed into `base` or, after NOT, cleared from it.
    uint32_t style(uint32_t base) {
        Expression e(*this, false, [this](const Token& t) { return symbol(t); });
        uint32_t v = base;
        for (;;) {
            bool clear = is_kw(cur_, "NOT");
            if (clear) advance();
            uint32_t term = static_cast<uint32_t>(e.parse_term());
            v = clear ? (v & ~term) : (v | term);
            if (!is_punct(cur_, "|")) return v;
            advance();
        }
    }

    int ranged(int64_t lo, int64_t hi, const char* what) {
        Token at = cur_;
        int64_t v = expr();
        if (v < lo || v > hi)
            fail(at, std::string(what) + " " + std::to_string(v) + " out of range (" + std::to_string(lo) + ".." +
                         std::to_string(hi) + ")");
        return static_cast<int>(v);
    }

    int coordinate(const char* what) { return ranged(-32768, 32767, what); }

    void expect(const char* punct, const std::string& where) {
        if (!is_punct(cur_, punct)) fail(cur_, std::string("expected '") + punct + "' " + where + " but found " + describe(cur_));
        advance();
    }

    std::string string(const std::string& what) {
        if (cur_.kind != Tok::String) fail(cur_, "expected " + what + " in quotes but found " + describe(cur_));
        std::string s = cur_.text;
        advance();
        return s;
    }

    // BEGIN or '{'; returns the line it stands on.
    int open_block(const std::string& of) {
        if (!is_kw(cur_, "BEGIN") && !is_punct(cur_, "{"))
            fail(cur_, "expected BEGIN of " + of + " but found " + describe(cur_));
        int line = cur_.line;
        advance();
        return line;
    }

    bool close_block(int opened_at) {
        if (cur_.kind == Tok::End)
            fail(cur_, "unexpected end of file: missing END of the block opened at line " + std::to_string(opened_at));
        if (is_kw(cur_, "END") || is_punct(cur_, "}")) {
            advance();
            return true;
        }
        return false;
    }

    // The version resource is for Windows' file properties; nothing at run
    // time reads it. Its fixed part runs up to the first BEGIN, then blocks
    // nest.
    void skip_version_info() {
        while (!is_kw(cur_, "BEGIN") && !is_punct(cur_, "{")) {
            if (cur_.kind == Tok::End) fail(cur_, "unexpected end of file in VERSIONINFO: expected BEGIN");
            advance();
        }
        std::vector<int> open{open_block("VERSIONINFO")};
        while (!open.empty()) {
            if (close_block(open.back())) {
                open.pop_back();
            } else if (is_kw(cur_, "BEGIN") || is_punct(cur_, "{")) {
                open.push_back(open_block("a VERSIONINFO block"));
            } else {
                advance();
            }
        }
    }

    // --- menus

    void menu(const ResourceName& name) {
        while (common_option()) {
        }
        Menu m;
        m.name = name;
        menu_block(m.items, "menu " + name.display());
        res_.menus.push_back(std::move(m));
    }

    void menu_block(std::vector<MenuItem>& items, const std::string& of) {
        int opened = open_block(of);
        while (!close_block(opened)) {
            MenuItem item;
            item.line = cur_.line;
            if (is_kw(cur_, "MENUITEM")) {
                advance();
                if (is_kw(cur_, "SEPARATOR")) {
                    advance();
                    item.separator = true;
                } else {
                    item.text = string("the menu item's text");
                    expect(",", "before the menu item's id");
                    item.id = ranged(-32768, 65535, "menu item id") & 0xFFFF;
                    item.options = menu_options();
                }
                items.push_back(std::move(item));
            } else if (is_kw(cur_, "POPUP")) {
                advance();
                item.popup = true;
                item.text = string("the popup's text");
                item.options = menu_options();
                menu_block(item.items, "popup \"" + item.text + "\"");
                items.push_back(std::move(item));
            } else {
                fail(cur_, "expected MENUITEM, POPUP or END but found " + describe(cur_));
            }
        }
    }

    uint32_t menu_options() {
        uint32_t options = 0;
        for (;;) {
            bool comma = is_punct(cur_, ",");
            if (comma) advance();
            const MenuOptionName* found = nullptr;
            for (const MenuOptionName& o : kMenuOptions)
                if (is_kw(cur_, o.name)) found = &o;
            if (!found) {
                if (comma) fail(cur_, "expected a menu option (CHECKED, GRAYED, INACTIVE, MENUBREAK, MENUBARBREAK, HELP) but found " + describe(cur_));
                return options;
            }
            options |= found->bit;
            advance();
        }
    }

    // --- dialogs

    void dialog(const ResourceName& name, bool extended) {
        DialogTemplate d;
        d.name = name;
        d.extended = extended;
        rectangle(d, "dialog");
        if (extended && is_punct(cur_, ",")) {
            advance();
            d.help_id = static_cast<uint32_t>(expr());
        }
        bool has_style = false, has_caption = false;
        uint32_t given_style = 0;
        for (;;) {
            if (common_option()) continue;
            if (is_kw(cur_, "STYLE")) {
                advance();
                given_style = style(0);
                has_style = true;
            } else if (is_kw(cur_, "EXSTYLE")) {
                advance();
                d.exstyle = style(0);
            } else if (is_kw(cur_, "CAPTION")) {
                advance();
                d.caption = string("the caption");
                has_caption = true;
            } else if (is_kw(cur_, "FONT")) {
                advance();
                d.font_size = ranged(0, 0xFFFF, "font size");
                expect(",", "after the font size");
                d.font = string("the font name");
                if (is_punct(cur_, ",")) {
                    if (!extended) fail(cur_, "font weight, italic and charset need DIALOGEX");
                    advance();
                    d.font_weight = ranged(0, 0xFFFF, "font weight");
                    if (is_punct(cur_, ",")) {
                        advance();
                        d.font_italic = ranged(0, 0xFF, "font italic flag") != 0;
                        if (is_punct(cur_, ",")) {
                            advance();
                            d.font_charset = ranged(0, 0xFF, "font charset");
                        }
                    }
                }
            } else if (is_kw(cur_, "MENU") || is_kw(cur_, "CLASS")) {
                fail(cur_, "the dialog statement " + to_upper(cur_.text) + " is not supported");
            } else {
                break;
            }
        }
        d.style = (has_style ? given_style : kDialogDefaultStyle) | (has_caption ? uint32_t(WS_CAPTION) : 0u) |
                  (d.font.empty() && d.font_size == 0 ? 0u : uint32_t(DS_SETFONT));
        int opened = open_block("dialog " + name.display());
        while (!close_block(opened)) d.controls.push_back(control(extended));
        res_.dialogs.push_back(std::move(d));
    }

    DialogControl control(bool extended) {
        DialogControl c;
        c.line = cur_.line;
        Token kw = cur_;
        if (kw.kind != Tok::Ident) fail(kw, "expected a control statement or END but found " + describe(kw));
        advance();
        if (iequals(kw.text, "CONTROL")) {
            c.text = string("the control's text");
            expect(",", "after the control's text");
            c.id = ranged(INT32_MIN, INT32_MAX, "control id");
            expect(",", "after the control's id");
            c.window_class = class_name();
            expect(",", "after the control's class");
            c.style = style(kControlBaseStyle);
            expect(",", "after the control's style");
            rectangle(c, "control");
        } else {
            const ControlKind* kind = nullptr;
            for (const ControlKind& k : kControlKinds)
                if (iequals(kw.text, k.keyword)) kind = &k;
            if (!kind) fail(kw, "unsupported control statement '" + kw.text + "'");
            c.window_class = kind->window_class;
            if (kind->has_text) {
                c.text = string("the control's text");
                expect(",", "after the control's text");
            }
            c.id = ranged(INT32_MIN, INT32_MAX, "control id");
            expect(",", "after the control's id");
            rectangle(c, "control");
            c.style = kControlBaseStyle | kind->default_style;
            if (is_punct(cur_, ",")) {
                advance();
                c.style = style(kControlBaseStyle | kind->base_style);
            }
        }
        if (is_punct(cur_, ",")) {
            advance();
            c.exstyle = style(0);
            if (is_punct(cur_, ",")) {
                if (!extended) fail(cur_, "a control's help id needs DIALOGEX");
                advance();
                c.help_id = static_cast<uint32_t>(expr());
            }
        }
        return c;
    }

    // x, y, cx, cy of a dialog or control (`whose` names it in errors).
    template <class T>
    void rectangle(T& r, const std::string& whose) {
        r.x = coordinate((whose + " x").c_str());
        expect(",", "after the " + whose + "'s x");
        r.y = coordinate((whose + " y").c_str());
        expect(",", "after the " + whose + "'s y");
        r.cx = coordinate((whose + " width").c_str());
        expect(",", "after the " + whose + "'s width");
        r.cy = coordinate((whose + " height").c_str());
    }

    std::string class_name() {
        if (cur_.kind != Tok::String && cur_.kind != Tok::Ident)
            fail(cur_, "expected the control's class but found " + describe(cur_));
        std::string name = cur_.text;
        bool quoted = cur_.kind == Tok::String;
        Token at = cur_;
        advance();
        for (const char* k : kClassNames)
            if (iequals(name, k)) return k;
        if (!quoted) fail(at, "unknown control class '" + name + "' (put other class names in quotes)");
        return name;
    }

    Preprocessor& pp_;
    Token cur_;
    Resources res_;
};

template <class T>
const T* find_named(const std::vector<T>& list, const char* name) {
    for (const T& r : list)
        if (r.name.matches(name)) return &r;
    return nullptr;
}

}  // namespace

bool ResourceName::matches(const char* name) const {
    if (!name) return false;
    uintptr_t p = reinterpret_cast<uintptr_t>(name);
    if ((p >> 16) == 0) return is_id && id == static_cast<uint16_t>(p);
    if (name[0] == '#') {
        uint32_t v = 0;
        const char* q = name + 1;
        if (!*q) return false;
        for (; *q; ++q) {
            if (*q < '0' || *q > '9') return false;
            v = v * 10 + uint32_t(*q - '0');
            if (v > 0xFFFF) return false;
        }
        return is_id && id == v;
    }
    return !is_id && iequals(text, name);
}

std::string ResourceName::display() const { return is_id ? std::to_string(id) : text; }

const Menu* Resources::find_menu(const char* name) const { return find_named(menus, name); }
const DialogTemplate* Resources::find_dialog(const char* name) const { return find_named(dialogs, name); }
const IconResource* Resources::find_icon(const char* name) const { return find_named(icons, name); }

std::optional<uint32_t> win32_constant(std::string_view name) {
    for (const Constant& c : kConstants)
        if (name == c.name) return c.value;
    return std::nullopt;
}

Resources parse_rc(std::string_view text, std::string_view file_name, const IncludeResolver& resolve) {
    Preprocessor pp(text, file_name, resolve);
    Parser parser(pp);
    return parser.parse();
}

}  // namespace layer
