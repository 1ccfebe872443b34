// The backup copy that every open makes: the database file is copied to
// <its folder>/backup/<its file name>, in-process, under a temporary name
// that is renamed at the end, so that a backup is either complete or absent.
#pragma once

#include <string>

// Where a database path splits: the folder part up to and including its last
// '/' (empty when there is none) and the file name after it.
struct BackupPaths {
    std::string folder;     // "<folder part>backup"
    std::string backupFile; // "<folder part>backup/<file name>"
};
BackupPaths backupPathsFor(const std::string& databasePath);

// Copies the database to its backup file, creating the backup folder when it
// is missing.  Returns the empty text on success, otherwise a one-line
// reason; a failure leaves no partial backup file behind.
std::string makeBackup(const std::string& databasePath);
