// Tests' helper: a fresh folder in the current one, removed with its content
// at the end, and the names it holds.
#pragma once
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// The names in a folder, sorted.
inline std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder)) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TTestFolder {
public:
    explicit TTestFolder(const std::string& name) : name_(name) {
        std::filesystem::remove_all(name_);
        std::filesystem::create_directory(name_);
    }
    ~TTestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(name_, ignored);
    }
    TTestFolder(const TTestFolder&) = delete;
    TTestFolder& operator=(const TTestFolder&) = delete;

    std::string Path(const std::string& file) const { return name_ + "/" + file; }
    const std::string& Name() const { return name_; }
    std::vector<std::string> Contents() const { return FolderContents(name_); }

private:
    std::string name_;
};
