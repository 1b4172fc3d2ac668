#include <gtest/gtest.h>

#include <cstring>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Modules.h"
#include "platform/Seams.h"
#include "platform/media/Thunker.h"

namespace {

using DoSoundProcEntry = LONG (*)(LONG);
using ThunkInitProc = int (*)(HMODULE);

std::vector<LONG> gCommands;
LONG FakeSoundProc(char* text, LONG command) {
  gCommands.push_back(command);
  if (command == 9) std::strcpy(text, "Error 5 in SoundRecorder Line 144");
  return command * 10;
}

class ThunkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gCommands.clear();
    platform::SetSoundProc(&FakeSoundProc);
  }
  void TearDown() override {
    platform::SetSoundProc(nullptr);
    platform::SetThunkerFailureForTesting(platform::ThunkerFailure::none);
  }
};

TEST_F(ThunkerTest, TheLibraryIsFoundByItsNameWhereverThePathPutsIt) {
  for (const char* path : {"C:\\Programme\\Thunker.dll", "/tmp/thunker.DLL", "Thunker.dll"}) {
    HMODULE module = LoadLibraryA(path);
    ASSERT_NE(module, nullptr) << path;
    EXPECT_EQ(LoadLibraryA(path), module) << "the same library again";
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module)) << "freed as often as loaded";
  }
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("C:\\Programme\\Other.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST_F(ThunkerTest, CommandsReachTheSoundProcedureAndItsFirstErrorIsThrownOnce) {
  HMODULE module = LoadLibraryA("Thunker.dll");
  auto init = reinterpret_cast<ThunkInitProc>(GetProcAddress(module, "ThunkInit"));
  auto doSound = reinterpret_cast<DoSoundProcEntry>(GetProcAddress(module, "DoSoundProc"));
  ASSERT_NE(init, nullptr);
  ASSERT_NE(doSound, nullptr);
  EXPECT_NE(GetProcAddress(module, "ThunkQuit"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "Missing"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  for (int round = 0; round < 2; ++round) {
    ASSERT_NE(init(module), 0);
    EXPECT_EQ(doSound(6), 60);
    try {
      doSound(9);
      ADD_FAILURE() << "the error text comes up";
    } catch (const char* text) {
      EXPECT_STREQ(text, "Error 5 in SoundRecorder Line 144");
    }
    EXPECT_EQ(doSound(9), 90) << "the same error does not come up again until the next ThunkInit";
  }
  EXPECT_EQ(gCommands, (std::vector<LONG>{6, 9, 9, 6, 9, 9}));
  FreeLibrary(module);
}

TEST_F(ThunkerTest, EachLoadStepCanBeMadeToFail) {
  platform::SetThunkerFailureForTesting(platform::ThunkerFailure::notLoaded);
  EXPECT_EQ(LoadLibraryA("Thunker.dll"), nullptr);
  platform::SetThunkerFailureForTesting(platform::ThunkerFailure::noThunkInit);
  HMODULE module = LoadLibraryA("Thunker.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetProcAddress(module, "ThunkInit"), nullptr);
  EXPECT_NE(GetProcAddress(module, "DoSoundProc"), nullptr);
  FreeLibrary(module);
  platform::SetThunkerFailureForTesting(platform::ThunkerFailure::initFails);
  module = LoadLibraryA("Thunker.dll");
  EXPECT_EQ(reinterpret_cast<ThunkInitProc>(GetProcAddress(module, "ThunkInit"))(module), 0);
  FreeLibrary(module);
  // Without the program's sound procedure the library cannot serve either.
  platform::SetThunkerFailureForTesting(platform::ThunkerFailure::none);
  platform::SetSoundProc(nullptr);
  module = LoadLibraryA("Thunker.dll");
  EXPECT_EQ(reinterpret_cast<ThunkInitProc>(GetProcAddress(module, "ThunkInit"))(module), 0);
  FreeLibrary(module);
}

}  // namespace
