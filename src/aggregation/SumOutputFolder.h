// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <span>
#include <string>

namespace tavrel {

// The output folder of a run, as the run guards it: the books never land on
// a source table, two runs never write into one folder at once, and the
// folder never holds books of two runs.

// An exclusive advisory lock (flock) on the folder itself, held from its
// construction to its destruction; no lock file is made. A folder that
// cannot be opened is neither held nor busy: writing into it fails on its
// own, with the platform's text. On a file system without locks the run
// goes on unheld, as it did before there were locks.
class TSumFolderLock {
public:
    explicit TSumFolderLock(const std::string& AFolder);
    TSumFolderLock(const TSumFolderLock&) = delete;
    TSumFolderLock& operator=(const TSumFolderLock&) = delete;
    ~TSumFolderLock();

    // True when another holder (another run) has the folder.
    bool Busy() const { return FBusy; }

private:
    int FFd = -1;
    bool FBusy = false;
};

// True when the two paths name the same file: the same path, or the same
// device and inode once links are followed.
bool SameFile(const std::string& APath1, const std::string& APath2);

// The first of the run's book paths (AOutputFolder, ending in a path
// separator, followed by each book's name) that is the same file as one of
// the source paths, or the empty text.
std::string BookOverSource(const std::string& AOutputFolder, std::span<const std::string> ASourcePaths);

// Removes the file when it is a regular file (not a link, not a folder);
// nothing when there is none. ETvrError with the platform's text when it
// cannot be removed.
void RemoveStaleBook(const std::string& APath);

} // namespace tavrel
