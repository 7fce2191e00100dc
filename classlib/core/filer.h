// Form-layout streaming: the binary form stream, its reader and writer, and
// the filer-property definitions (DefineProperty / DefineBinaryProperty).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/core/streams.h"
#include "classlib/core/typinfo.h"

class TReader;
class TWriter;
class TCollection;

// Value types of the binary form stream (the class library's codes).
enum TValueType : uint8_t {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5,
    vaString = 6, vaIdent = 7, vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11,
    vaLString = 12, vaNil = 13, vaCollection = 14, vaSingle = 15, vaCurrency = 16,
    vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20
};

// Flags in front of a component's class name (0xF0 | flags).
enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamProc = std::function<void(TStream*)>;

class TFiler : public TObject {
public:
    explicit TFiler(TStream& stream) : stream_(stream) {}

    TStream& Stream() { return stream_; }
    TComponent* Root() const { return root_; }
    void SetRoot(TComponent* root) { root_ = root; }
    TComponent* LookupRoot() const { return lookup_root_; }
    // The object being compared with while writing (inherited layouts);
    // nullptr otherwise.
    TPersistent* Ancestor() const { return ancestor_; }
    void SetAncestor(TPersistent* ancestor) { ancestor_ = ancestor; }
    bool IgnoreChildren() const { return ignore_children_; }
    void SetIgnoreChildren(bool value) { ignore_children_ = value; }

    // A property filed by the object's own code. The reader calls readData
    // when it meets the name; the writer calls writeData when hasData.
    virtual void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                                bool hasData) = 0;
    // The same for raw bytes (value type vaBinary, 32-bit length).
    virtual void DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                                      bool hasData) = 0;

protected:
    TStream& stream_;
    TComponent* root_ = nullptr;
    TComponent* lookup_root_ = nullptr;
    TPersistent* ancestor_ = nullptr;
    bool ignore_children_ = false;
};

class TReader : public TFiler {
public:
    explicit TReader(TStream& stream);
    ~TReader() override;

    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

    // Components being read are created with Owner() and placed in Parent().
    TComponent* Owner() const { return owner_; }
    void SetOwner(TComponent* owner) { owner_ = owner; }
    TComponent* Parent() const { return parent_; }
    void SetParent(TComponent* parent) { parent_ = parent; }

    // Reads a whole layout into root (created here when null): signature,
    // root header and properties, children; then resolves component
    // references and calls Loaded on every component read.
    TComponent* ReadRootComponent(TComponent* root);
    // Reads one component (flags, class, name, properties, children); an
    // existing component of that name in the owner is reused.
    TComponent* ReadComponent(TComponent* component);
    // Properties and children of a component whose header was read.
    void ReadData(TComponent* instance);
    // Properties of any persistent object, until the end-of-list marker.
    void ReadProperties(TPersistent* instance);
    // The items of a collection value (its vaCollection already read), up
    // to the end marker; they replace the collection's items.
    void ReadCollection(TCollection* collection);

    void ReadSignature();
    // The optional flag byte of a component header and, with ffChildPos,
    // its position (else -1).
    void ReadPrefix(TFilerFlags& flags, int32_t& childPos);
    TValueType ReadValue();
    TValueType NextValue();
    void CheckValue(TValueType value);
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    void SkipValue();

    int32_t ReadInteger();
    int64_t ReadInt64();
    bool ReadBoolean();
    char ReadChar();
    wchar_t ReadWideChar();
    double ReadFloat();
    std::string ReadIdent();
    // Accepts short, long, wide and UTF-8 strings.
    std::string ReadString();
    std::wstring ReadWideString();
    // A short string without value type (names in headers).
    std::string ReadStr();
    void Read(void* buffer, int32_t count);

    // Name of the property being read ("Font.Name" gives "Name").
    const std::string& PropName() const { return prop_name_; }

private:
    void ReadProperty(TPersistent* instance);
    void ReadPropValue(TPersistent* instance, const TPropInfo& prop);
    void ReadObjectValue(TPersistent* instance, const TPropInfo& prop);
    void ReadMethodValue(TPersistent* instance, const TPropInfo& prop);
    uint32_t ReadSetValue(const TTypeInfo& setType);
    const TClassInfo& FindComponentClass(const std::string& className) const;
    TComponent* CreateComponent(const std::string& className);
    void ResolveFixups();
    void AbandonRead(TComponent* root);

    struct Impl;
    std::unique_ptr<Impl> impl_;
    TComponent* owner_ = nullptr;
    TComponent* parent_ = nullptr;
    std::string prop_name_;
};

class TWriter : public TFiler {
public:
    explicit TWriter(TStream& stream);
    ~TWriter() override;

    void DefineProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                              bool hasData) override;

    // Writes signature and the root with its children.
    void WriteRootComponent(TComponent* root);
    // Writes the layout of root compared with ancestor (nullptr: none).
    void WriteDescendent(TComponent* root, TComponent* ancestor);
    void WriteComponent(TComponent* component);
    // Properties then children of a component whose header was written.
    void WriteData(TComponent* instance);
    // Published properties (by the stored and default rules), then the
    // properties the object defines, in definition order.
    void WriteProperties(TPersistent* instance);
    // vaCollection, then each item's properties as a list.
    void WriteCollection(TCollection* collection);

    void WriteSignature();
    // The flag byte of a component header (nothing without flags) and,
    // with ffChildPos, the position.
    void WritePrefix(TFilerFlags flags, int32_t childPos);
    // An object's class name after its prefix. A name of 240 characters or
    // more is refused: its length byte would read back as a prefix.
    void WriteClassName(const std::string& name);
    void WriteValue(TValueType value);
    void WriteListBegin();
    void WriteListEnd();

    void WriteInteger(int32_t value);  // smallest of vaInt8, vaInt16, vaInt32
    void WriteInt64(int64_t value);
    void WriteBoolean(bool value);
    void WriteChar(char value);
    void WriteWideChar(wchar_t value);
    void WriteFloat(double value);
    void WriteIdent(const std::string& ident);
    // vaString up to 255 bytes, vaLString beyond.
    void WriteString(const std::string& value);
    void WriteWideString(const std::wstring& value);
    void WriteStr(const std::string& value);  // short string without value type
    void Write(const void* buffer, int32_t count);

    const std::string& PropPath() const { return prop_path_; }
    TComponent* RootAncestor() const { return root_ancestor_; }

private:
    void WriteProperty(TPersistent* instance, const TPropInfo& prop);
    void WriteOrdinalValue(const TTypeInfo& type, int64_t value);
    void WriteMethodProperty(TPersistent* instance, const TPropInfo& prop, const TPropInfo* ancestorProp);
    void WriteObjectProperty(TPersistent* instance, const TPropInfo& prop, const TPropInfo* ancestorProp);
    void WritePropName(const std::string& name);
    std::string ReferenceName(const TComponent* component) const;
    std::string MethodName(const TMethod& method) const;
    std::string CollectionImage(TCollection* collection, TComponent* lookupRoot) const;

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string prop_path_;
    TComponent* root_ancestor_ = nullptr;
};

// Layout text (object ... end) <-> binary form stream. Both directions are
// exact inverses for every layout the writer produces.
void ObjectTextToBinary(TStream& input, TStream& output);
void ObjectBinaryToText(TStream& input, TStream& output);
std::string ObjectTextToBinary(const std::string& text);
std::string ObjectBinaryToText(const std::string& binary);

// Reads a layout from its text into root (the form-creation path).
void ReadComponentFromText(TComponent* root, const std::string& text);
// The layout text of a component and its children.
std::string WriteComponentToText(TComponent* root);
