// Tests' helper: a fresh folder under the temporary folder, removed with
// everything in it when the test ends.
#pragma once
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "classlib/core/fileutils.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"

class TScratchFolder {
public:
    TScratchFolder() {
        static std::atomic<int> counter{0};
        auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = GetTempDirectory() + "quillory-test-" + IntToStr(ticks) + "-" + IntToStr(++counter) + "\\";
        created_ = ForceDirectories(folder_);
    }
    ~TScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(folder_), ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    bool Created() const { return created_; }
    const std::string& Folder() const { return folder_; }  // with trailing '\'
    std::string Path(const std::string& name) const { return folder_ + name; }

private:
    std::string folder_;
    bool created_ = false;
};

// A test fixture with its own scratch folder and helpers to make and read
// whole files there.
class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(scratch.Created()); }

    std::string MakeFile(const std::string& name, const std::string& text = "x") {
        TFileStream stream(scratch.Path(name), fmCreate);
        stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
        return scratch.Path(name);
    }
    static std::string ReadBytes(const std::string& fileName) {
        TStringStream data;
        data.LoadFromFile(fileName);
        return data.DataString();
    }

    TScratchFolder scratch;
};
