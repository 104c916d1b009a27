#pragma once
// The set of ports the program runs on, handed to it as one bundle.
#include "platform/automation.h"
#include "platform/dde.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/settings_store.h"
#include "platform/system.h"

namespace vav {

struct Platform {
  EventLoop& loop;
  Dde& dde;
  Automation& automation;
  ProfileFiles& profile;
  SettingsStore& settings_store;
  Files& files;
  System& system;
  Desktop& desktop;
  WindowFrame& frame;
};

}  // namespace vav
