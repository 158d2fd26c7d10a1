#pragma once
// A client pointed by the settings at a fake service filled with the test entries.

#include "FakeRegonService.h"
#include "RegonData.h"
#include "TestSupport.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uRegonBodies.h"
#include "uRegonClient.h"
#include "uRegonSettings.h"

#include <gtest/gtest.h>

class RegonFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        RegonData::Fill(Service);
        SetSetting(RegonSettings::ServiceAddressName, Service.BaseAddress());
        SetSetting(RegonSettings::UserKeyName, Service.UserKey);
    }
    void TearDown() override { TestSupport::ClearSettings(); }

    static void SetSetting(const QString& Name, const QString& Value) {
        Registry::WriteString(QuorDataBaseDefs::EwidarKey, Name, Value);
    }
    // Logs in and passes the code step.
    void OpenSession() {
        QImage picture;
        ASSERT_TRUE(Client.StartSession(picture)) << Client.LastError().toStdString();
        ASSERT_TRUE(Client.CheckCaptcha(Service.Code));
    }

    TFakeRegonService Service;
    TRegonClient Client;
};
