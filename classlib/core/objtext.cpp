// Layout text <-> binary form stream.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "classlib/core/exceptions.h"
#include "classlib/core/extended.h"
#include "classlib/core/filer.h"
#include "classlib/core/floattext.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/stream_errors.h"
#include "classlib/core/strutils.h"
#include "classlib/core/textparser.h"
#include "classlib/core/valueinput.h"

namespace {

constexpr size_t kStringColumns = 64;
constexpr size_t kBinaryBytesPerLine = 32;  // 64 hex digits
const char* const kLineBreak = "\r\n";

bool IsDottedIdent(const std::string& s) {
    size_t start = 0;
    for (;;) {
        size_t dot = s.find('.', start);
        if (!IsValidIdent(s.substr(start, dot == std::string::npos ? std::string::npos : dot - start))) return false;
        if (dot == std::string::npos) return true;
        start = dot + 1;
    }
}

std::string CheckedName(std::string s, bool dotted) {
    if (!(dotted ? IsDottedIdent(s) : IsValidIdent(s))) RaiseInvalidImage();
    return s;
}

template <class Units>
std::vector<uint32_t> ToUnits(const Units& s) {
    std::vector<uint32_t> units;
    units.reserve(s.size());
    for (auto ch : s) {
        if constexpr (sizeof(ch) == 1) units.push_back(static_cast<uint8_t>(ch));
        else units.push_back(static_cast<uint32_t>(ch) & 0xFFFF);
    }
    return units;
}

// Printable ASCII runs quoted ('' for a quote), every other unit as #n.
std::string RenderUnits(const std::vector<uint32_t>& units, size_t from, size_t to) {
    std::string text;
    bool quoted = false;
    for (size_t i = from; i < to; ++i) {
        uint32_t u = units[i];
        bool printable = u >= 32 && u <= 126;
        if (printable != quoted) {
            text += '\'';
            quoted = printable;
        }
        if (!printable) {
            text += '#' + std::to_string(u);
            continue;
        }
        if (u == '\'') text += '\'';
        text += static_cast<char>(u);
    }
    if (quoted) text += '\'';
    return text;
}

class TBinaryToText {
public:
    explicit TBinaryToText(TStream& input) : reader_(input), in_(input) {}

    std::string Convert() {
        reader_.ReadSignature();
        ConvertObject(0);
        return std::move(out_);
    }

private:
    void Indent(int level) { out_.append(static_cast<size_t>(level) * 2, ' '); }
    void EndLine() { out_ += kLineBreak; }

    void ConvertObject(int level) {
        TScopedCount nesting = EnterNesting(depth_);
        TFilerFlags flags;
        int32_t childPos;
        reader_.ReadPrefix(flags, childPos);
        // Text names one of the two; a stream with both has no text form.
        if (flags.Contains(ffInline) && flags.Contains(ffInherited)) RaiseInvalidImage();
        std::string className = CheckedName(reader_.ReadStr(), false);
        std::string name = reader_.ReadStr();
        if (!name.empty()) CheckedName(name, false);
        Indent(level);
        out_ += flags.Contains(ffInline) ? "inline " : flags.Contains(ffInherited) ? "inherited " : "object ";
        if (!name.empty()) out_ += name + ": ";
        out_ += className;
        if (flags.Contains(ffChildPos)) out_ += " [" + std::to_string(childPos) + "]";
        EndLine();
        while (!reader_.EndOfList()) ConvertProperty(level + 1, true);
        reader_.ReadListEnd();
        while (!reader_.EndOfList()) ConvertObject(level + 1);
        reader_.ReadListEnd();
        Indent(level);
        out_ += "end";
        EndLine();
    }

    // The text form ends an object's properties at "end", "object",
    // "inherited" or "inline", an item's at "end": such names are refused.
    void ConvertProperty(int level, bool ofObject) {
        std::string name = CheckedName(reader_.ReadStr(), true);
        if (SameText(name, "end") ||
            (ofObject && (SameText(name, "object") || SameText(name, "inherited") || SameText(name, "inline"))))
            RaiseInvalidImage();
        Indent(level);
        out_ += name + " = ";
        ConvertValue(level, false);
        EndLine();
    }

    double ReadDouble(int size) {
        uint64_t bits = static_cast<uint64_t>(in_.ReadSigned(size));
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    static void CheckFinite(double value) {
        if (!std::isfinite(value)) throw EReadError(LoadStr(SInvalidPropertyValue));
    }

    // level: indentation of the line the value starts on.
    void ConvertValue(int level, bool lineStart) {
        switch (reader_.ReadValue()) {
        case vaList: {
            TScopedCount nesting = EnterNesting(depth_);
            out_ += '(';
            while (!reader_.EndOfList()) {
                EndLine();
                Indent(level + 1);
                ConvertValue(level + 1, true);
            }
            reader_.ReadListEnd();
            out_ += ')';
            break;
        }
        case vaInt8: out_ += std::to_string(in_.ReadSigned(1)); break;
        case vaInt16: out_ += std::to_string(in_.ReadSigned(2)); break;
        case vaInt32: out_ += std::to_string(in_.ReadSigned(4)); break;
        case vaInt64: out_ += std::to_string(in_.ReadSigned(8)); break;
        case vaExtended: {
            uint8_t bytes[10];
            in_.ReadBytes(bytes, 10);
            double value = ExtendedToDouble(bytes);
            CheckFinite(value);
            out_ += DoubleToLayoutText(value);
            break;
        }
        case vaSingle: {
            uint32_t bits = static_cast<uint32_t>(in_.ReadSigned(4));
            float value;
            std::memcpy(&value, &bits, sizeof value);
            CheckFinite(value);
            out_ += SingleToLayoutText(value) + "s";
            break;
        }
        case vaCurrency: out_ += CurrencyToLayoutText(in_.ReadSigned(8)) + "c"; break;
        case vaDate: {
            double value = ReadDouble(8);
            CheckFinite(value);
            out_ += DoubleToLayoutText(value) + "d";
            break;
        }
        case vaString: WriteUnits(ToUnits(in_.ReadShortString()), level, lineStart); break;
        case vaLString: WriteUnits(ToUnits(in_.ReadLongBytes()), level, lineStart); break;
        case vaWString: WriteUnits(ToUnits(in_.ReadWideUnits()), level, lineStart); break;
        case vaUTF8String: WriteUnits(ToUnits(Utf8ToUtf16(in_.ReadLongBytes())), level, lineStart); break;
        case vaIdent: out_ += CheckedName(in_.ReadShortString(), true); break;
        case vaFalse: out_ += "False"; break;
        case vaTrue: out_ += "True"; break;
        case vaNil: out_ += "nil"; break;
        case vaSet: {
            out_ += '[';
            bool first = true;
            for (std::string name; !(name = in_.ReadShortString()).empty(); first = false) {
                if (!first) out_ += ", ";
                out_ += CheckedName(name, false);
            }
            out_ += ']';
            break;
        }
        case vaBinary: WriteBinary(in_.ReadLongBytes(), level); break;
        case vaCollection: ConvertCollection(level); break;
        default: RaiseInvalidImage();
        }
    }

    void ConvertCollection(int level) {
        TScopedCount nesting = EnterNesting(depth_);
        out_ += '<';
        while (!reader_.EndOfList()) {
            EndLine();
            Indent(level + 1);
            out_ += "item";
            TValueType next = reader_.NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32 || next == vaInt64)
                out_ += " [" + std::to_string(reader_.ReadInt64()) + "]";
            EndLine();
            reader_.ReadListBegin();
            while (!reader_.EndOfList()) ConvertProperty(level + 2, false);
            reader_.ReadListEnd();
            Indent(level + 1);
            out_ += "end";
        }
        reader_.ReadListEnd();
        out_ += '>';
    }

    // A string wider than kStringColumns starts on a line of its own and
    // continues after " +" so that no line holds more of it.
    void WriteUnits(const std::vector<uint32_t>& units, int level, bool lineStart) {
        if (units.empty()) {
            out_ += "''";
            return;
        }
        int lineLevel = lineStart ? level : level + 1;
        if (!lineStart && RenderUnits(units, 0, units.size()).size() > kStringColumns) {
            if (!out_.empty() && out_.back() == ' ') out_.pop_back();  // no trailing blank
            EndLine();
            Indent(lineLevel);
        }
        std::string line;
        bool quoted = false;
        for (size_t i = 0; i < units.size(); ++i) {
            bool printable = units[i] >= 32 && units[i] <= 126;
            std::string chunk = RenderUnits(units, i, i + 1);
            if (printable) {
                chunk.pop_back();  // closed where the run ends
                if (quoted) chunk.erase(0, 1);  // the run goes on
            } else if (quoted) {
                chunk.insert(0, 1, '\'');  // closes the run
            }
            size_t width = line.size() + chunk.size() + (printable ? 1 : 0);
            if (width > kStringColumns && !line.empty()) {
                out_ += line + (quoted ? "' +" : " +");
                EndLine();
                Indent(lineLevel);
                line.clear();
                chunk = RenderUnits(units, i, i + 1);
                if (printable) chunk.pop_back();
            }
            line += chunk;
            quoted = printable;
        }
        out_ += line + (quoted ? "'" : "");
    }

    void WriteBinary(const std::string& bytes, int level) {
        static const char hex[] = "0123456789ABCDEF";
        out_ += '{';
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i % kBinaryBytesPerLine == 0) {
                EndLine();
                Indent(level + 1);
            }
            uint8_t b = static_cast<uint8_t>(bytes[i]);
            out_ += hex[b >> 4];
            out_ += hex[b & 15];
        }
        out_ += '}';
    }

    TReader reader_;
    TValueInput in_;
    std::string out_;
    int depth_ = 0;
};

class TTextToBinary {
public:
    TTextToBinary(std::string text, TStream& output) : parser_(std::move(text)), writer_(output) {}

    void Convert() {
        writer_.WriteSignature();
        ConvertObject();
        if (parser_.Token().Kind != TTokenKind::End)
            parser_.Error(Format(LoadStr(SSymbolExpected), {"Dateiende"}));
    }

private:
    // One level deeper in the text; too deep is an error at its line.
    TScopedCount EnterTextNesting() {
        return TScopedCount(depth_, kMaxStreamNesting, [this] { return parser_.MakeError(LoadStr(SNestingTooDeep)); });
    }

    void WriteLE(uint64_t value, int size) {
        uint8_t bytes[8];
        for (int i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
        writer_.Write(bytes, size);
    }

    // Identifiers go to the stream behind a length byte: at most 255 bytes,
    // and a class name fewer than 240, since a length byte from 240 on
    // reads as an object's flags. A longer one is refused where it stands.
    static constexpr size_t kLongestName = 255, kLongestClassName = 239;
    std::string ExpectStreamIdent(size_t longest, bool dotted = false) {
        if (parser_.Token().Kind == TTokenKind::Ident && parser_.Token().Text.size() > longest)
            parser_.Error(LoadStr(SIdentifierExpected));
        return parser_.ExpectIdent(dotted);
    }

    bool AtObjectEnd() const {
        return parser_.IsKeyword("end") || parser_.IsKeyword("object") || parser_.IsKeyword("inherited") ||
               parser_.IsKeyword("inline");
    }

    void ConvertObject() {
        TScopedCount nesting = EnterTextNesting();
        TFilerFlags flags;
        if (parser_.IsKeyword("inherited")) flags += ffInherited;
        else if (parser_.IsKeyword("inline")) flags += ffInline;
        else if (!parser_.IsKeyword("object")) parser_.Error(Format(LoadStr(SSymbolExpected), {"object"}));
        parser_.Next();
        const int classLine = parser_.Token().Line;
        std::string name, className = ExpectStreamIdent(kLongestName);
        if (parser_.IsSymbol(':')) {
            parser_.Next();
            name = className;
            className = ExpectStreamIdent(kLongestClassName);
        } else if (className.size() > kLongestClassName) {
            parser_.Error(LoadStr(SIdentifierExpected), classLine);
        }
        int32_t childPos = -1;
        if (parser_.IsSymbol('[')) {
            parser_.Next();
            int64_t pos = ExpectInteger();
            if (pos < 0 || pos > INT32_MAX) parser_.Error(LoadStr(SNumberExpected));
            childPos = static_cast<int32_t>(pos);
            flags += ffChildPos;
            parser_.ExpectSymbol(']');
        }
        writer_.WritePrefix(flags, childPos);
        writer_.WriteClassName(className);
        writer_.WriteStr(name);
        while (!AtObjectEnd()) ConvertProperty();
        writer_.WriteListEnd();
        while (!parser_.IsKeyword("end")) ConvertObject();
        writer_.WriteListEnd();
        parser_.Next();
    }

    void ConvertProperty() {
        std::string name = ExpectStreamIdent(kLongestName, true);
        parser_.ExpectSymbol('=');
        writer_.WriteStr(name);
        ConvertValue();
    }

    int64_t ExpectInteger() {
        const TToken& token = parser_.Token();
        if (token.Kind != TTokenKind::Integer) parser_.Error(LoadStr(SNumberExpected));
        const std::string& text = token.Text;
        bool negative = text[0] == '-';
        uint64_t magnitude = 0;
        for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
            uint64_t digit = static_cast<uint64_t>(text[i] - '0');
            if (magnitude > (UINT64_MAX - digit) / 10) magnitude = UINT64_MAX;
            else magnitude = magnitude * 10 + digit;
        }
        const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
        if (magnitude > limit) parser_.Error(Format(LoadStr(SInvalidInteger), {text}));
        parser_.Next();
        return negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    }

    void ConvertFloat() {
        const TToken& token = parser_.Token();
        bool ok = false;
        switch (token.Suffix) {
        case 0: {
            double value;
            if ((ok = LayoutTextToDouble(token.Text, value))) writer_.WriteFloat(value);
            break;
        }
        case 's': {
            float value;
            if ((ok = LayoutTextToSingle(token.Text, value))) {
                uint32_t bits;
                std::memcpy(&bits, &value, sizeof bits);
                writer_.WriteValue(vaSingle);
                WriteLE(bits, 4);
            }
            break;
        }
        case 'c': {
            int64_t scaled;
            if ((ok = LayoutTextToCurrency(token.Text, scaled))) {
                writer_.WriteValue(vaCurrency);
                WriteLE(static_cast<uint64_t>(scaled), 8);
            }
            break;
        }
        case 'd': {
            double value;
            if ((ok = LayoutTextToDouble(token.Text, value))) {
                uint64_t bits;
                std::memcpy(&bits, &value, sizeof bits);
                writer_.WriteValue(vaDate);
                WriteLE(bits, 8);
            }
            break;
        }
        }
        if (!ok) parser_.Error(Format(LoadStr(SInvalidFloat), {token.Text + (token.Suffix ? std::string(1, token.Suffix) : "")}));
        parser_.Next();
    }

    // Parts joined by '+'. A code above 255 makes a wide string; else the
    // units are code-page bytes.
    void ConvertString() {
        std::vector<TStringUnit> units = parser_.Token().Units;
        parser_.Next();
        while (parser_.IsSymbol('+')) {
            parser_.Next();
            if (parser_.Token().Kind != TTokenKind::String) parser_.Error(LoadStr(SStringExpected));
            const auto& more = parser_.Token().Units;
            units.insert(units.end(), more.begin(), more.end());
            parser_.Next();
        }
        bool wide = false;
        for (const TStringUnit& u : units) wide = wide || (!u.Quoted && u.Value > 255);
        if (!wide) {
            std::string bytes;
            bytes.reserve(units.size());
            for (const TStringUnit& u : units) bytes += static_cast<char>(u.Value);
            writer_.WriteString(bytes);
            return;
        }
        std::wstring text;
        text.reserve(units.size());
        for (const TStringUnit& u : units)
            text += u.Quoted ? AnsiToWide(std::string(1, static_cast<char>(u.Value)))[0] : static_cast<wchar_t>(u.Value);
        writer_.WriteWideString(text);
    }

    void ConvertValue() {
        switch (parser_.Token().Kind) {
        case TTokenKind::Integer: writer_.WriteInt64(ExpectInteger()); return;
        case TTokenKind::Float: ConvertFloat(); return;
        case TTokenKind::String: ConvertString(); return;
        case TTokenKind::Ident: writer_.WriteIdent(ExpectStreamIdent(kLongestName, true)); return;
        case TTokenKind::Symbol:
            if (parser_.IsSymbol('[')) return ConvertSet();
            if (parser_.IsSymbol('(')) return ConvertList();
            if (parser_.IsSymbol('{')) return ConvertBinary();
            if (parser_.IsSymbol('<')) return ConvertCollection();
            break;
        case TTokenKind::End: break;
        }
        parser_.Error(LoadStr(SValueExpected));
    }

    void ConvertSet() {
        parser_.Next();
        writer_.WriteValue(vaSet);
        if (!parser_.IsSymbol(']')) {
            for (;;) {
                writer_.WriteStr(ExpectStreamIdent(kLongestName));
                if (!parser_.IsSymbol(',')) break;
                parser_.Next();
            }
        }
        parser_.ExpectSymbol(']');
        writer_.WriteStr("");
    }

    void ConvertList() {
        TScopedCount nesting = EnterTextNesting();
        parser_.Next();
        writer_.WriteListBegin();
        while (!parser_.IsSymbol(')')) ConvertValue();
        parser_.Next();
        writer_.WriteListEnd();
    }

    void ConvertBinary() {
        std::string bytes = parser_.ReadBinary();
        writer_.WriteValue(vaBinary);
        WriteLE(bytes.size(), 4);
        writer_.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    }

    void ConvertCollection() {
        TScopedCount nesting = EnterTextNesting();
        parser_.Next();
        writer_.WriteValue(vaCollection);
        while (parser_.IsKeyword("item")) {
            parser_.Next();
            if (parser_.IsSymbol('[')) {
                parser_.Next();
                writer_.WriteInt64(ExpectInteger());
                parser_.ExpectSymbol(']');
            }
            writer_.WriteListBegin();
            while (!parser_.IsKeyword("end")) ConvertProperty();
            writer_.WriteListEnd();
            parser_.Next();
        }
        parser_.ExpectSymbol('>');
        writer_.WriteListEnd();
    }

    TLayoutParser parser_;
    TWriter writer_;
    int depth_ = 0;
};

std::string StreamRest(TStream& input) {
    int64_t size = input.Size() - input.Position();
    if (size <= 0) return std::string();
    if (size > INT32_MAX) throw EReadError(LoadStr(SReadError));
    std::string bytes(static_cast<size_t>(size), '\0');
    input.ReadBuffer(bytes.data(), static_cast<int32_t>(size));
    return bytes;
}

}  // namespace

void ObjectTextToBinary(TStream& input, TStream& output) {
    // Converted whole before anything reaches the output.
    std::string binary = ObjectTextToBinary(StreamRest(input));
    output.WriteBuffer(binary.data(), static_cast<int32_t>(binary.size()));
}

void ObjectBinaryToText(TStream& input, TStream& output) {
    std::string text = TBinaryToText(input).Convert();
    output.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

std::string ObjectTextToBinary(const std::string& text) {
    TMemoryStream output;
    TTextToBinary(text, output).Convert();
    return std::string(reinterpret_cast<const char*>(output.Memory()), static_cast<size_t>(output.Size()));
}

std::string ObjectBinaryToText(const std::string& binary) {
    TStringStream input(binary);
    return TBinaryToText(input).Convert();
}

void ReadComponentFromText(TComponent* root, const std::string& text) {
    if (!root) throw EInvalidOperation(LoadStr(SRootRequired));
    TStringStream binary(ObjectTextToBinary(text));
    TReader reader(binary);
    reader.ReadRootComponent(root);
}

std::string WriteComponentToText(TComponent* root) {
    TMemoryStream binary;
    {
        TWriter writer(binary);
        writer.WriteRootComponent(root);
    }
    binary.SetPosition(0);
    return TBinaryToText(binary).Convert();
}
