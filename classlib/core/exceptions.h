// Exception classes of the class library. Messages are ANSI (code page 1252).
#pragma once
#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    const char* what() const noexcept override { return message_.c_str(); }
    virtual const char* ClassName() const { return "Exception"; }

private:
    std::string message_;
};

#define CLASSLIB_EXCEPTION(Name, Base)                                     \
    class Name : public Base {                                             \
    public:                                                                \
        using Base::Base;                                                  \
        const char* ClassName() const override { return #Name; }           \
    };

// Silent exception: aborts an operation without a message box.
CLASSLIB_EXCEPTION(EAbort, Exception)
CLASSLIB_EXCEPTION(EConvertError, Exception)
CLASSLIB_EXCEPTION(EListError, Exception)
CLASSLIB_EXCEPTION(EStringListError, EListError)
CLASSLIB_EXCEPTION(EOutOfMemory, Exception)
CLASSLIB_EXCEPTION(EStreamError, Exception)
CLASSLIB_EXCEPTION(EFilerError, EStreamError)
CLASSLIB_EXCEPTION(EReadError, EFilerError)
CLASSLIB_EXCEPTION(EWriteError, EFilerError)
CLASSLIB_EXCEPTION(EClassNotFound, EFilerError)
CLASSLIB_EXCEPTION(EFCreateError, EStreamError)
CLASSLIB_EXCEPTION(EFOpenError, EStreamError)
CLASSLIB_EXCEPTION(EParserError, Exception)
CLASSLIB_EXCEPTION(EComponentError, Exception)
CLASSLIB_EXCEPTION(EPropertyError, Exception)
CLASSLIB_EXCEPTION(EInvalidOperation, Exception)
CLASSLIB_EXCEPTION(EInvalidGraphic, Exception)
CLASSLIB_EXCEPTION(EInvalidGraphicOperation, Exception)
CLASSLIB_EXCEPTION(EOSError, Exception)
CLASSLIB_EXCEPTION(EResNotFound, Exception)
CLASSLIB_EXCEPTION(EInvalidOp, Exception)
CLASSLIB_EXCEPTION(EInvalidCast, Exception)

// Input/output error of an untyped or text file; carries the I/O result code.
class EInOutError : public Exception {
public:
    EInOutError(std::string message, int errorCode)
        : Exception(std::move(message)), ErrorCode(errorCode) {}
    const char* ClassName() const override { return "EInOutError"; }
    int ErrorCode;
};

// Raises EAbort.
[[noreturn]] void Abort();
