#include "framework/FormHost.h"

#include <utility>

namespace {
TFormHost* installedHost = nullptr;
}  // namespace

TFormHost* FormHost() { return installedHost; }

TFormHost* SetFormHost(TFormHost* host) { return std::exchange(installedHost, host); }
