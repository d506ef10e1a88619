#pragma once

#include <filesystem>
#include <string>

#include "ForwardingFileOps.h"
#include "platform/ports/ProgramLauncher.h"

namespace korvale::bench {

// The host's files with every flush left out: a Play over it does the same work without waiting
// for the disk, which tells what the flushes cost.
class NoFlushFileOps final : public test::ForwardingFileOps {
public:
    using ForwardingFileOps::ForwardingFileOps;
    void flush(Handle&) override {}
};

// Starts nothing: for a Play timed without the game's start.
class NoLauncher final : public ProgramLauncher {
public:
    void start(const std::string&) override {}
    bool isRunning(const std::string&) override { return false; }
};

// Under `root`: "program/UTDir.ini" naming "game", and "game/System/User.ini", a copy of
// `profile`.
void layOutPlay(const std::filesystem::path& root, const std::filesystem::path& profile);

// One Play of "Bench Player" over the folders layOutPlay made, through `ops` and `launcher`.
// Returns the message Play showed; empty when it showed none.
std::string playOnce(const std::filesystem::path& root, FileOps& ops, ProgramLauncher& launcher);

}  // namespace korvale::bench
