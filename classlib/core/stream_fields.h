// Little-endian integers read from and written to a stream; a short read
// or write raises as TStream::ReadBuffer / WriteBuffer do.
#pragma once
#include <cstdint>

#include "classlib/core/byte_fields.h"
#include "classlib/core/streams.h"

template <class T>
T ReadLittleEndian(TStream& stream) {
    uint8_t field[sizeof(T)];
    stream.ReadBuffer(field, sizeof(T));
    return GetLittleEndian<T>(field);
}

template <class T>
void WriteLittleEndian(TStream& stream, T value) {
    uint8_t field[sizeof(T)];
    PutLittleEndian(field, value);
    stream.WriteBuffer(field, sizeof(T));
}
