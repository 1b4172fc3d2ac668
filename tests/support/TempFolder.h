// A temporary folder made for one test and removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path; }
  // The folder's path in the program's form ("\" between names), optionally with a child's name.
  std::string WinPath(const std::string& child = "") const;
  // Writes a file under the folder (making its folders) and answers its program-form path.
  std::string Write(const std::string& relative, const std::string& bytes = "") const;
  std::string MakeFolder(const std::string& relative) const;
  // The bytes of a file under the folder.
  std::string Read(const std::string& relative) const;

 private:
  std::filesystem::path path;
};
