// UTF-7 (RFC 2152) between wide strings and 8-bit strings.
#pragma once
#include <string>

enum TUtf7Result { utf7Done = 0, utf7Invalid = 1, utf7TargetFull = 2 };

// Encodes source .. sourceEnd into target .. targetEnd; both positions are
// left where encoding stopped. Verbose closes every base64 run with "-";
// optional sends the optional direct characters (RFC 2152 Set O) as they
// are. Gives utf7Done or utf7TargetFull.
int EncodeUtf7Buffer(const wchar_t*& source, const wchar_t* sourceEnd, char*& target, char* targetEnd, bool verbose,
                     bool optional);
// Decodes; invalid input does not stop decoding (utf7Invalid at the end),
// a full target does (utf7TargetFull).
int DecodeUtf7Buffer(const char*& source, const char* sourceEnd, wchar_t*& target, wchar_t* targetEnd);

// Optional direct characters sent as they are, base64 runs closed only
// where needed.
std::string WideToUtf7(const std::wstring& text);
// Raises EUcGeneralError "Invalid UTF7" on invalid input.
std::wstring Utf7ToWide(const std::string& text);
