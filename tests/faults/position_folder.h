// Position folders for the fault tests: copies of the shipped examples, what a
// folder holds byte for byte, and the tools that work on one.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "tests/temp_dir.h"

namespace vorek::testing {

inline const std::string CLI_PROGRAM = VOREK_CLI_PATH;
inline const std::string AI_PROGRAM = VOREK_AI_PATH;

// The folder of a shipped example position.
std::filesystem::path example(const std::string& name);

// Copies an example's "plocha.dat" and "tah.dat" into the folder.
void copyExample(const std::string& name, const TempDir& dir);

// Every entry of a folder with the bytes of each file ("<folder>" for a folder).
using FolderContents = std::map<std::string, std::string>;
FolderContents contentsOf(const std::filesystem::path& folder);

// Every entry of a folder (not of its sub-folders) with what makes it the
// very file found, besides its bytes: its inode, permissions, owner, group,
// number of links and modification time.
using FolderIdentity = std::map<std::string, std::string>;
FolderIdentity identityOf(const std::filesystem::path& folder);

// Makes the file hold size bytes: the text, then a hole that reads as NUL bytes.
void writeSparse(const std::filesystem::path& file, const std::string& text, std::size_t size);

}  // namespace vorek::testing
