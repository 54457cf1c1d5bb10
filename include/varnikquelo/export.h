// What the shared libraries export: everything in them not marked so is hidden.
#pragma once

#define QUELO_API __attribute__((visibility("default")))
