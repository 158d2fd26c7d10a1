#pragma once
// A root data object that does nothing, for tests of code that only needs one
// to exist. Override what a test observes.

#include "uEwidarQuorDBIntf.h"

class TFakeDataBase : public TInterfacedObject<IEwidarDataBase> {
public:
    int32_t GetLastErrorCode() override { return m_errorCode; }
    std::u16string GetDataBaseID() override { return m_dataBaseID; }
    std::u16string GetDataBaseSymbol() override { return m_symbol; }
    bool Connect(std::u16string&, bool) override { return m_connectResult; }
    void Disconnect() override { ++m_disconnects; }
    bool StartTransaction() override { return true; }
    bool Commit() override { return true; }
    bool EditConnectionParams(void*, std::u16string&, bool) override { return false; }
    TIntfPtr<IEwidarRegistries> GetRegistries() override { return {}; }
    TIntfPtr<IEwidarDynamicFieldsProvider> GetDynamicFieldsProvider(int32_t) override { return {}; }
    TIntfPtr<IEwidarSlownikProvider> GetSlownikProvider(int32_t) override { return {}; }
    TIntfPtr<IUsersGroup> GetUsersGroups() override { return {}; }
    bool ImportFrom(IEwidarDataBase*) override { return false; }
    bool Backup(const std::u16string&, const std::u16string&) override { return false; }
    bool ReadBackup(const std::u16string&, const std::u16string&, std::u16string&) override { return false; }
    bool Restore(const std::u16string&, const std::u16string&) override { return false; }
    void SetOnProgress(TProgressEvent Handler) override { m_onProgress = std::move(Handler); }
    TProgressEvent GetOnProgress() override { return m_onProgress; }
    bool Login(const std::u16string&, const std::u16string&) override { return true; }
    bool IsLoggedIn() override { return true; }
    void Logout() override {}
    bool IsAdministrator() override { return true; }
    TIntfPtr<IDuplicatePairs> FindDuplicates() override { return {}; }
    bool MarkNotDuplicate(int32_t, int32_t) override { return false; }
    bool MergeRecords(int32_t, int32_t, const std::vector<TMergeValue>&) override { return false; }

    int32_t m_errorCode = 0;
    std::u16string m_dataBaseID = u"fake";
    std::u16string m_symbol = u"FAKE";
    bool m_connectResult = true;
    int m_disconnects = 0;
    TProgressEvent m_onProgress;
};
