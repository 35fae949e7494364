// Folder library (Wendor): the accounting product's application folders.
#pragma once

#include <string>

class ClFileMgr {
 public:
  static ClFileMgr* Inst();

  enum FolderType {
    FOLDER_OUTPUT = 0,    // default folder for files the program writes
    FOLDER_SETTINGS = 1,  // folder of remembered settings
  };

  // The folder as a Windows path ending in a backslash (created when missing), or empty when
  // it is unknown or cannot be created.
  std::string GetAppFolderPath(int folderType);
};
