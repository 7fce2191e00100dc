#include "unicode/text/utf7.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "unicode/text/one_pass_result.h"
#include "unicode/text/uc_errors.h"

namespace {

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct TUtf7Tables {
    int8_t Base64Value[128];
    bool MustShiftSafe[128];
    bool MustShiftOptional[128];

    TUtf7Tables() {
        for (int i = 0; i < 128; ++i) {
            Base64Value[i] = -1;
            MustShiftSafe[i] = true;
        }
        for (int i = 0; i < 64; ++i) Base64Value[static_cast<uint8_t>(kBase64[i])] = static_cast<int8_t>(i);
        for (const char* p = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?\t\r\n "; *p; ++p)
            MustShiftSafe[static_cast<uint8_t>(*p)] = false;
        for (int i = 0; i < 128; ++i) MustShiftOptional[i] = MustShiftSafe[i];
        for (const char* p = "!\"#$%&*;<=>@[]^_`{|}"; *p; ++p) MustShiftOptional[static_cast<uint8_t>(*p)] = false;
    }
};

const TUtf7Tables& Tables() {
    static const TUtf7Tables tables;
    return tables;
}

// Where the coders put what they make. A bounded output is a caller's
// buffer that may fill up at any unit; a piece output is a buffer with
// room for a whole character past its limit (see one_pass_result.h), so it
// is checked once per character and its coder pauses there.
template <typename Unit>
class TBoundedOutput {
public:
    static constexpr bool kStopWhenInvalid = false;
    TBoundedOutput(Unit* position, Unit* end) : position_(position), end_(end) {}
    bool Room() const { return true; }
    bool Put(unsigned value) {
        if (position_ >= end_) return false;
        *position_++ = static_cast<Unit>(value);
        return true;
    }
    Unit* Position() const { return position_; }

private:
    Unit* position_;
    Unit* end_;
};

// Invalid input ends the wrappers with an error, so their coder stops there.
template <typename Unit>
class TPieceOutput {
public:
    static constexpr bool kStopWhenInvalid = true;
    TPieceOutput(Unit* position, Unit* limit) : position_(position), limit_(limit) {}
    bool Room() const { return position_ < limit_; }
    bool Put(unsigned value) {
        *position_++ = static_cast<Unit>(value);
        return true;
    }
    Unit* Position() const { return position_; }

private:
    Unit* position_;
    Unit* limit_;
};

// What a coder gives when its output asks it to pause between characters.
constexpr int kPaused = -1;

// The encoder's state between pieces. The bits of a base64 run gather at
// the low end of an accumulator (only its low `bits` count) and leave six
// at a time from the top of those; a run ends padded with zero bits to a
// whole base64 letter.
struct TEncoderState {
    const wchar_t* source;
    const wchar_t* end;
    bool inBase64 = false;
    uint32_t accumulator = 0;
    int bits = 0;
    bool finished = false;
};

// Encodes until the source and its closing are written (utf7Done), the
// output is full (utf7TargetFull) or asks for a pause (kPaused). Each
// character writes at most three bytes.
template <typename Output>
int Encode(TEncoderState& state, Output& out, bool verbose, bool optional) {
    const TUtf7Tables& tables = Tables();
    const bool* mustShift = optional ? tables.MustShiftOptional : tables.MustShiftSafe;
    const wchar_t* s = state.source;
    const wchar_t* const sourceEnd = state.end;
    bool inBase64 = state.inBase64;
    uint32_t accumulator = state.accumulator;
    int bits = state.bits;
    auto stop = [&](int result) {
        state.source = s;
        state.inBase64 = inBase64;
        state.accumulator = accumulator;
        state.bits = bits;
        state.finished = result == utf7Done;
        return result;
    };
    for (;;) {
        if (!out.Room()) return stop(kPaused);
        const bool atEnd = s >= sourceEnd;
        const unsigned c = atEnd ? 0 : static_cast<unsigned>(*s) & 0xFFFF;
        const bool shift = !atEnd && (c > 127 || mustShift[c]);
        if (!inBase64) {
            if (!shift) {
                if (atEnd) break;
                if (!out.Put(c)) return stop(utf7TargetFull);
                ++s;
                continue;
            }
            if (!out.Put('+')) return stop(utf7TargetFull);
            if (c == '+') {
                if (!out.Put('-')) return stop(utf7TargetFull);
                ++s;
                continue;
            }
            inBase64 = true;
        }
        if (shift) {
            accumulator = (accumulator << 16) | c;
            bits += 16;
            while (bits >= 6) {
                bits -= 6;
                if (!out.Put(static_cast<uint8_t>(kBase64[(accumulator >> bits) & 63]))) return stop(utf7TargetFull);
            }
            ++s;
            continue;
        }
        // The run closes.
        if (bits > 0) {
            if (!out.Put(static_cast<uint8_t>(kBase64[(accumulator << (6 - bits)) & 63]))) return stop(utf7TargetFull);
            bits = 0;
        }
        inBase64 = false;
        if (verbose || (!atEnd && ((c < 128 && tables.Base64Value[c] >= 0) || c == '-')))
            if (!out.Put('-')) return stop(utf7TargetFull);
        if (atEnd) break;
        if (!out.Put(c)) return stop(utf7TargetFull);
        ++s;
    }
    return stop(utf7Done);
}

// The decoder's state between pieces; the bits of a base64 run gather as
// in the encoder and leave sixteen at a time.
struct TDecoderState {
    const char* source;
    const char* end;
    bool inBase64 = false, first = false, wroteOne = false, invalid = false;
    uint32_t accumulator = 0;
    int bits = 0;
    bool finished = false;
};

// Decodes until the source ends (utf7Done or utf7Invalid), the output is
// full (utf7TargetFull) or asks for a pause (kPaused). Each byte writes at
// most one code unit.
template <typename Output>
int Decode(TDecoderState& state, Output& out) {
    const TUtf7Tables& tables = Tables();
    const char* s = state.source;
    const char* const sourceEnd = state.end;
    bool inBase64 = state.inBase64, first = state.first, wroteOne = state.wroteOne, invalid = state.invalid;
    uint32_t accumulator = state.accumulator;
    int bits = state.bits;
    auto stop = [&](int result) {
        state.source = s;
        state.inBase64 = inBase64;
        state.first = first;
        state.wroteOne = wroteOne;
        state.invalid = invalid;
        state.accumulator = accumulator;
        state.bits = bits;
        state.finished = result == utf7Done || result == utf7Invalid;
        return result;
    };
    for (;;) {
        if (Output::kStopWhenInvalid && invalid) return stop(utf7Invalid);
        if (!out.Room()) return stop(kPaused);
        if (inBase64) {
            const bool atEnd = s >= sourceEnd;
            const unsigned b = atEnd ? 0 : static_cast<uint8_t>(*s);
            if (!atEnd && b < 128 && tables.Base64Value[b] >= 0) {
                accumulator = (accumulator << 6) | static_cast<unsigned>(tables.Base64Value[b]);
                bits += 6;
                first = false;
                ++s;
                if (bits >= 16) {
                    bits -= 16;
                    if (!out.Put((accumulator >> bits) & 0xFFFF)) return stop(utf7TargetFull);
                    wroteOne = true;
                }
                continue;
            }
            // The run ends; a closing "+" or "-" is taken with it.
            inBase64 = false;
            if (!atEnd && (b == '+' || b == '-')) ++s;
            if (first && b == '-' && !atEnd) {
                if (!out.Put('+')) return stop(utf7TargetFull);
            } else if (!wroteOne) {
                invalid = true;
            }
            if (bits > 0 && (accumulator & ((1u << bits) - 1)) != 0) invalid = true;
            bits = 0;
            continue;
        }
        if (s >= sourceEnd) break;
        const unsigned b = static_cast<uint8_t>(*s);
        if (b == '+') {
            inBase64 = true;
            first = true;
            wroteOne = false;
            ++s;
            continue;
        }
        if (!out.Put(b)) return stop(utf7TargetFull);
        if (b > 127) invalid = true;
        ++s;
    }
    return stop(invalid ? utf7Invalid : utf7Done);
}

// The wrappers' coders, a piece at a time (see one_pass_result.h).
class TUtf7Encoder {
public:
    static constexpr size_t kMaxStep = 3;
    explicit TUtf7Encoder(const std::wstring& text) : state_{text.data(), text.data() + text.size()} {}
    bool Done() const { return state_.finished; }
    char* Fill(char* out, char* limit) {
        TPieceOutput<char> piece(out, limit);
        Encode(state_, piece, false, true);
        return piece.Position();
    }

private:
    TEncoderState state_;
};

class TUtf7Decoder {
public:
    static constexpr size_t kMaxStep = 1;
    explicit TUtf7Decoder(const std::string& text) : state_{text.data(), text.data() + text.size()} {}
    bool Done() const { return state_.finished; }
    bool Invalid() const { return state_.invalid; }
    wchar_t* Fill(wchar_t* out, wchar_t* limit) {
        TPieceOutput<wchar_t> piece(out, limit);
        Decode(state_, piece);
        return piece.Position();
    }

private:
    TDecoderState state_;
};

}  // namespace

int EncodeUtf7Buffer(const wchar_t*& source, const wchar_t* sourceEnd, char*& target, char* targetEnd, bool verbose,
                     bool optional) {
    TEncoderState state{source, sourceEnd};
    TBoundedOutput<char> out(target, targetEnd);
    int result = Encode(state, out, verbose, optional);
    source = state.source;
    target = out.Position();
    return result;
}

int DecodeUtf7Buffer(const char*& source, const char* sourceEnd, wchar_t*& target, wchar_t* targetEnd) {
    TDecoderState state{source, sourceEnd};
    TBoundedOutput<wchar_t> out(target, targetEnd);
    int result = Decode(state, out);
    source = state.source;
    target = out.Position();
    return result;
}

// A code unit makes at most five bytes ("+", three letters, "-"); a byte
// at most one code unit. A reserved buffer that would not do is out of
// reach, as is a full one.
std::string WideToUtf7(const std::wstring& text) {
    TUtf7Encoder encoder(text);
    return one_pass::Collect<char>(encoder, one_pass::SaturatedProduct(text.size(), 5));
}

std::wstring Utf7ToWide(const std::string& text) {
    TUtf7Decoder decoder(text);
    std::wstring result = one_pass::Collect<wchar_t>(decoder, text.size());
    if (decoder.Invalid()) throw EUcGeneralError("Invalid UTF7");
    return result;
}
