#include "classlib/core/streams.h"

#include <algorithm>
#include <cstring>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

int64_t TStream::Position() {
    return Seek(0, soCurrent);
}

void TStream::SetPosition(int64_t position) {
    Seek(position, soBeginning);
}

int64_t TStream::Size() {
    int64_t pos = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* buffer, int32_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError(LoadStr(SReadError));
}

void TStream::WriteBuffer(const void* buffer, int32_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError(LoadStr(SWriteError));
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    int64_t total = count;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 61440) + 1));
    while (count > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(count, static_cast<int64_t>(buffer.size())));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return total;
}

int32_t TMemoryStream::Read(void* buffer, int32_t count) {
    int64_t size = static_cast<int64_t>(data_.size());
    if (count <= 0 || position_ < 0 || position_ >= size) return 0;
    int64_t n = std::min<int64_t>(count, size - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
    if (count <= 0 || position_ < 0) return 0;
    int64_t end = position_ + count;
    if (end > static_cast<int64_t>(data_.size())) data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = static_cast<int64_t>(data_.size()) + offset; break;
    }
    return position_;
}

void TMemoryStream::SetSize(int64_t size) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    int64_t size = stream.Size();
    SetSize(size);
    if (size) stream.ReadBuffer(data_.data(), static_cast<int32_t>(size));
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) {
    if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<int32_t>(data_.size()));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

TStringStream::TStringStream(const std::string& data) {
    if (!data.empty()) {
        Write(data.data(), static_cast<int32_t>(data.size()));
        SetPosition(0);
    }
}

std::string TStringStream::DataString() const {
    return std::string(reinterpret_cast<const char*>(Bytes().data()), Bytes().size());
}
