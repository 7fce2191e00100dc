// Little-endian binary fields (bytes, 16- and 32-bit integers) read from
// and written to bytes in memory: the one coder of the file formats' fields.
// TByteReader reads a byte string in order; reading past its end raises the
// class library's EInOutError for end of file (code 100), as reading past
// the end of a file does.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// The integer whose sizeof(T) bytes start at `at`.
template <class T>
T GetLittleEndian(const void* at) {
    static_assert(std::is_integral_v<T>);
    using U = std::make_unsigned_t<T>;
    const auto* bytes = static_cast<const uint8_t*>(at);
    U value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value = static_cast<U>(value | static_cast<U>(static_cast<U>(bytes[i]) << (8 * i)));
    return static_cast<T>(value);
}

// Writes the sizeof(T) bytes of value to `at`.
template <class T>
void PutLittleEndian(void* at, T value) {
    static_assert(std::is_integral_v<T>);
    using U = std::make_unsigned_t<T>;
    auto* bytes = static_cast<uint8_t*>(at);
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(static_cast<U>(value) >> (8 * i));
}

// Appends the sizeof(T) bytes of value to a byte string or vector.
template <class T, class Bytes>
void AppendLittleEndian(Bytes& out, T value) {
    uint8_t field[sizeof(T)];
    PutLittleEndian(field, value);
    out.insert(out.end(), field, field + sizeof(T));
}

class TByteReader {
public:
    explicit TByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return pos_ >= bytes_.size(); }
    size_t Left() const { return bytes_.size() - pos_; }

    // A byte or int32; raises at the end.
    template <class T>
    T Get() {
        if (Left() < sizeof(T)) RaiseEndOfBytes();
        return Take<T>();
    }
    // A byte or int32 the document reads untested: past the end it is 0
    // and the rest is used up, so the next tested read raises.
    template <class T>
    T GetUntested() {
        if (Left() < sizeof(T)) {
            pos_ = bytes_.size();
            return T{};
        }
        return Take<T>();
    }
    // The next count bytes; raises when fewer are left.
    std::string_view GetBytes(size_t count) {
        if (Left() < count) RaiseEndOfBytes();
        std::string_view bytes = bytes_.substr(pos_, count);
        pos_ += count;
        return bytes;
    }

private:
    template <class T>
    T Take() {
        T value = GetLittleEndian<T>(bytes_.data() + pos_);
        pos_ += sizeof(T);
        return value;
    }
    [[noreturn]] static void RaiseEndOfBytes();

    std::string_view bytes_;
    size_t pos_ = 0;
};

// Appends fields to a byte string. Given a sink, it hands the bytes made so
// far to the sink whenever Pass() finds a whole piece, and the rest on
// Flush(), so a long document never stands in memory whole.
class TByteWriter {
public:
    using TSink = std::function<void(std::string_view)>;

    TByteWriter() = default;
    TByteWriter(TSink sink, size_t pieceBytes) : sink_(std::move(sink)), piece_bytes_(pieceBytes) {}

    void Reserve(size_t bytes) { bytes_.reserve(bytes); }
    template <class T>
    void Put(T value) {
        AppendLittleEndian(bytes_, value);
    }
    void PutBytes(std::string_view bytes) { bytes_.append(bytes); }

    void Pass() {
        if (sink_ && bytes_.size() >= piece_bytes_) Flush();
    }
    void Flush() {
        if (!sink_ || bytes_.empty()) return;
        sink_(bytes_);
        bytes_.clear();
    }
    // Without a sink: all bytes made.
    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
    TSink sink_;
    size_t piece_bytes_ = 0;
};
