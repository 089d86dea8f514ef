#pragma once

// The root of the class library's object model: run-time class records, kind
// tests, dynamic creation and the serialisation hook.

#include "platform/base/WinTypes.h"

class CArchive;
class CObject;

// The run-time record of a class. Classes declared with DECLARE_DYNAMIC,
// DECLARE_DYNCREATE or DECLARE_SERIAL have one, entered in a process-wide list
// at start-up so that archives can find a class by its name.
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                  // version of the stored layout; 0xFFFF for classes that cannot be stored
    CObject* (*m_pfnCreateObject)(); // nullptr for classes without dynamic creation
    const CRuntimeClass* m_pBaseClass;
    mutable const CRuntimeClass* m_pNextClass; // the registered classes, linked by FromName's list

    // A new object of this class, or nullptr when the class has no dynamic creation.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registered class of that name, or nullptr.
    static const CRuntimeClass* FromName(LPCSTR lpszClassName);

    // Archive form of a class reference (schema, name length, name). Load returns
    // nullptr for a name no class is registered under, or a schema that differs;
    // *pwSchemaNum receives the stored schema.
    void Store(CArchive& ar) const;
    static const CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Enters a run-time class record in the registered list; IMPLEMENT_* macros make one per class.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(const CRuntimeClass* pNewClass);
};

constexpr UINT VERSIONABLE_SCHEMA = 0x80000000;

class CObject {
public:
    virtual ~CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    // Writes or reads the object's state; the base does nothing.
    virtual void Serialize(CArchive& ar);
    // Checks the object's invariants; the base checks nothing.
    virtual void AssertValid() const { }

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// clang-format off
#define DECLARE_DYNAMIC(class_name)                                   \
public:                                                              \
    static const CRuntimeClass class##class_name;                     \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                 \
    DECLARE_DYNAMIC(class_name)                                       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                    \
    DECLARE_DYNCREATE(class_name)                                     \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define ARCHIVORA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    const CRuntimeClass class_name::class##class_name = {              \
        #class_name, static_cast<int>(sizeof(class_name)), wSchema, pfnNew, \
        RUNTIME_CLASS(base_class_name), nullptr };                      \
    static const AFX_CLASSINIT s_init_##class_name(RUNTIME_CLASS(class_name)); \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                 \
    ARCHIVORA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)               \
    CObject* class_name::CreateObject() { return new class_name; }      \
    ARCHIVORA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// Needs CArchive's full declaration where it is used.
#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)         \
    CObject* class_name::CreateObject() { return new class_name; }      \
    ARCHIVORA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                \
    {                                                                   \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name))); \
        return ar;                                                      \
    }
// clang-format on
