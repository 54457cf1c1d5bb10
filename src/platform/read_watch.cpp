#include "platform/read_watch.h"

namespace quelo {
namespace {

thread_local ReadWatch* current = nullptr;

constexpr int kUserInterrupt = 18;

}  // namespace

ReadWatchScope::ReadWatchScope(ReadWatch& watch) : outer_(current) { current = &watch; }
ReadWatchScope::~ReadWatchScope() { current = outer_; }

ReadWatch* currentReadWatch() { return current; }

bool countRow() { return !current || current->rowRead(); }

bool readStopRequested() { return current && current->stopped(); }

Error readStopped() { return makeError(kUserInterrupt, "the read was cancelled"); }

}  // namespace quelo
