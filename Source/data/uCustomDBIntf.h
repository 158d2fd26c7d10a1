#pragma once
// Interfaces shared with the maker's other products: the error-carrying object,
// the simple stored record and the database connection. Operations keep their
// declaration order; those the program never calls are left out.

#include "uIntf.h"

#include <functional>
#include <string>

struct IEwidarRegistries;

// Error code of the last failed operation on an object (0 = none).
struct ICustomObject : IInterface {
    static constexpr TGUID IID = {0x49A901A6, 0xC4A8, 0xC4BA, {0xB4, 0x5F, 0x6B, 0xF9, 0xED, 0x8A, 0xBD, 0x46}};
    using Parent = IInterface;

    virtual int32_t GetLastErrorCode() = 0;
};

// Operators, groups and word dictionaries.
struct ICustomRecord : ICustomObject {
    static constexpr TGUID IID = {0xA364477B, 0xA239, 0x9D06, {0xC5, 0xF8, 0x54, 0xAF, 0xCB, 0x06, 0xC5, 0x3D}};
    using Parent = ICustomObject;

    virtual bool Post() = 0;
    virtual bool Delete() = 0;
};

// The database connection.
struct ICustomDataBase : ICustomObject {
    static constexpr TGUID IID = {0xD82BFE71, 0xBE72, 0x3157, {0xBB, 0x31, 0x3A, 0xE2, 0x3F, 0x28, 0x43, 0xE7}};
    using Parent = ICustomObject;

    // Identifies the database for the backend's error lookup.
    virtual std::u16string GetDataBaseID() = 0;
    // Backend symbol of this connection ("SQLITE" ...).
    virtual std::u16string GetDataBaseSymbol() = 0;
    // Opens the connection; the backend may fill or change the parameter.
    virtual bool Connect(std::u16string& ConnectorParam, bool Flag) = 0;
    virtual void Disconnect() = 0;
    virtual bool StartTransaction() = 0;
    virtual bool Commit() = 0;
    // Shows the backend's own parameter dialog over ParentWindow (a QWidget*);
    // true when the operator confirmed.
    virtual bool EditConnectionParams(void* ParentWindow, std::u16string& ConnectorParam, bool Flag) = 0;
    virtual TIntfPtr<IEwidarRegistries> GetRegistries() = 0;
};

// Router and backend export "GetLastError": the backend's own text and link of a code.
using TGetLastError = bool (*)(int32_t ErrCode, const std::u16string& DataBaseID, std::u16string& Text,
                               std::u16string& Link);
