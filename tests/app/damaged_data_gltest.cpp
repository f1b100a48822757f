// The program on a copy of its data with one file at a time missing, emptied, halved or noise,
// and with no data at all: the set-up succeeds rereading nothing, only what the damaged file
// feeds is missing, frames are presented, and shutdown lets go of all, also after a failed one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/window.h"
#include "platform/testing.h"
#include "tests/support/fault_checks.h"
#include "tests/support/image_files.h"
#include "tests/support/scene_on_recorder.h"

namespace {

namespace fs = std::filesystem;

// Each damage rewrites the file's bytes; the first removes the file.
using Bytes = std::vector<unsigned char>;
const std::pair<const char*, void (*)(Bytes&)> kDamages[] = {
    {"missing", nullptr},
    {"empty", [](Bytes& bytes) { bytes.clear(); }},
    {"first half", [](Bytes& bytes) { bytes.resize(bytes.size() / 2); }},
    {"noise",
     [](Bytes& bytes) {
       std::mt19937 random(static_cast<unsigned>(bytes.size()));
       for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random());
     }},
};

// Bytes this thread has read so far, from files and the window system ("rchar:" comes first).
long long BytesRead() {
  long long bytes = 0;
  std::ifstream("/proc/thread-self/io").ignore(6) >> bytes;
  return bytes;
}

// Materials of the models and emitters that have no texture.
int Untextured(KV_APPLICATION& app) {
  int count =
      !app.fireEmitter->texture + !app.fountainEmitter->texture + !app.waterfallEmitter->texture;
  for (KV_MODEL* model :
       {app.environmentModel, app.headModel, app.firePitModel, app.fountainModel}) {
    for (DWORD i = 0; model->textures && i < model->materialCount; ++i)
      count += !model->textures[i];
  }
  return count;
}

class DamagedData : public ::testing::Test {
 protected:
  DamagedData() : window(GetModuleHandleA(nullptr), SW_SHOW) {
    window.application->Shutdown();  // the window is shared; each case sets up its own
    fs::copy(KV_SOURCE_DIR "/Data", copy.Path("Data"), fs::copy_options::recursive);
    kv_testing::KeepPresentedPictures(true);
  }
  ~DamagedData() override {
    kv_testing::KeepPresentedPictures(false);
    DestroyWindow(window.windowHandle);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) continue;
  }

  // Sets the program up in the copy, runs two frames, checks one was presented, hands the
  // program to `inspect` and shuts down; returns the bytes the set-up read.
  template <class Inspect>
  long long Run(Inspect inspect) {
    KvWorkingFolder inCopy(copy.Path(""));
    KV_APPLICATION app(true, 800, 600);
    const long long before = BytesRead();
    const bool started = app.Initialize(window, GetModuleHandleA(nullptr));
    const long long read = BytesRead() - before;
    EXPECT_TRUE(started) << KvLastPlatformError();
    if (started) {
      KvRunFrames(app, now, 2);
      std::vector<DWORD> pixels;
      UINT width = 0, height = 0;
      EXPECT_TRUE(kv_testing::ReadPresentedPicture(app.device, pixels, width, height));
      inspect(app);
    }
    KvExpectShutdownReleasesEverything(app);
    return read;
  }

  // Runs the intact copy, then every damage of every file, each undone after its case, and
  // hands each damaged run to `inspect` with how many more materials than intact lack a texture.
  template <class Inspect>
  void ForEachDamage(const std::vector<std::string>& files, Inspect inspect) {
    int intactUntextured = 0;
    const long long intact = Run([&](KV_APPLICATION& app) { intactUntextured = Untextured(app); });
    for (const std::string& file : files) {
      const std::string path = copy.Path("Data/" + file);
      const Bytes original = KvReadBytes(path);
      for (const auto& [name, apply] : kDamages) {
        SCOPED_TRACE(file + ", " + name);
        Bytes damaged = original;
        if (apply) apply(damaged), KvWriteBytes(path, damaged);
        if (!apply) fs::remove(path);
        const long long read = Run(
            [&](KV_APPLICATION& app) { inspect(app, file, Untextured(app) - intactUntextured); });
        EXPECT_LE(read, intact + 4096);  // the window system's messages vary a little
        KvWriteBytes(path, original);
      }
    }
  }

  KvTestClock clock;
  DWORD now = 0xFFFFF000u;
  KvTempFolder copy;
  KV_WINDOW window;
};

}  // namespace

TEST_F(DamagedData, ADamagedMeshLeavesOnlyItsOwnModelEmpty) {
  const std::vector<std::string> files = {"X/environment.x", "X/FirePit.x", "X/Fountain.x",
                                          "X/head.x"};
  ForEachDamage(files, [&](KV_APPLICATION& app, const std::string& file, int) {
    const KV_MODEL* models[] = {app.environmentModel, app.firePitModel, app.fountainModel,
                                app.headModel};
    for (size_t i = 0; i < files.size(); ++i)
      EXPECT_EQ(models[i]->mesh == nullptr, files[i] == file) << files[i];
  });
}

// Every texture is named by one material or emitter, the rock by two.
TEST_F(DamagedData, ADamagedTextureLeavesOnlyTheMaterialsNamingItUntextured) {
  std::vector<std::string> files;
  for (const char* name :
       {"ember", "flame", "fountain", "grass", "marble", "pool", "rock", "sky", "stone", "water"})
    files.push_back(std::string("Texture/") + name + ".png");
  ForEachDamage(files, [&](KV_APPLICATION& app, const std::string& file, int untextured) {
    EXPECT_EQ(untextured, file == "Texture/rock.png" ? 2 : 1);
    EXPECT_NE(app.environmentModel->mesh, nullptr);
  });
}

TEST_F(DamagedData, SetUpWithoutDataStillSucceedsAndFramesRun) {
  fs::remove_all(copy.Path("Data"));
  Run([](KV_APPLICATION& app) {
    EXPECT_EQ(app.environmentModel->GetMesh(), nullptr);
    EXPECT_EQ(app.fireEmitter->texture, nullptr);
    EXPECT_FLOAT_EQ(app.camera1->GetPosition().y, 2.0f);  // no ground: the offset alone
  });
}

TEST_F(DamagedData, ShutdownAfterAFailedSetUpReleasesWhatExists) {
  KV_APPLICATION failsAtInput(true, 800, 600);
  EXPECT_FALSE(failsAtInput.Initialize(window, nullptr));  // no module: no DirectInput
  EXPECT_NE(failsAtInput.device, nullptr);
  EXPECT_NE(failsAtInput.input, nullptr);
  EXPECT_EQ(failsAtInput.environmentModel, nullptr);
  KvExpectShutdownReleasesEverything(failsAtInput);

  const HWND handle = window.windowHandle;
  window.windowHandle = nullptr;
  KV_APPLICATION failsAtDevice(true, 800, 600);
  EXPECT_FALSE(failsAtDevice.Initialize(window, GetModuleHandleA(nullptr)));
  window.windowHandle = handle;
  EXPECT_NE(failsAtDevice.direct3D, nullptr);
  EXPECT_EQ(failsAtDevice.device, nullptr);
  EXPECT_EQ(failsAtDevice.input, nullptr);
  KvExpectShutdownReleasesEverything(failsAtDevice);
}
