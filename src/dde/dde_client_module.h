#pragma once
// The client side of the DXLab traffic: the hidden "DDEClient" form with one conversation
// per control, which programs are connected, the connected list shown in the caption, and
// the start notices that programs execute on the "DDEClient" topic.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "dde/dde_common.h"
#include "hosts/dxlab.h"
#include "platform/dde.h"
#include "platform/event_loop.h"

namespace vav {

class Common;

// The hidden form "DDEClient": its conversation controls and its retry timer.
struct DdeClientForm {
  DdeClientForm(Dde& dde, EventLoop& loop);

  LinkedText Freq;                   // Commander's frequency display
  LinkedText Mode;                   // Commander's presence
  LinkedText RadioMode;              // Commander's radio mode
  LinkedText DDETransceiverControl;  // Commander commands
  LinkedText DDELog;                 // DXKeeper commands
  LinkedText PathfinderDDECommand;   // Pathfinder commands
  LinkedText SpotPrefix;             // DXView's presence
  LinkedText DDELookup;              // DXView commands
  LinkedText PropViewDDECommand;     // PropView (no commands)
  Timer ServerRetryTimer;
};

class DDEClientModule {
 public:
  static constexpr const char* kTopic = "DDEClient";

  DDEClientModule(Dde& dde, EventLoop& loop, Common& common, DDECommon& codec);
  ~DDEClientModule();

  // Serves the "DDEClient" topic, clears the connection tables and the connected list.
  // `load_server_form` loads the "DDEServer" form first.
  void Initialize(const std::function<void()>& load_server_form);
  void ConnectServer(int server);
  void DisconnectServer(int server);
  void SetServerConnect(int server, bool connected);
  bool IsServerConnected(int server) const;
  void RetryServers();
  // Ends every conversation and stops serving "DDEClient"; `unload_server_form` then
  // unloads the "DDEServer" form.
  void CloseLinks(const std::function<void()>& unload_server_form);

  // Ends the conversations of `server` whose server no longer exists (the program crashed
  // or was killed, and no link-close notice came). When the program was counted as
  // connected it is remembered as vanished. Returns whether any conversation was dead.
  bool drop_dead_links(int server);
  // Drops the dead conversations of every program and marks each connected program that
  // had one disconnected. The connection pass runs it first.
  void drop_vanished_servers();
  // The program vanished while connected and has not been connected since: the connection
  // pass tries it whatever the settings say, until it is back or the user disconnects it.
  bool vanished(int server) const;

  // A start notice executed on "DDEClient"; returns whether it is accepted.
  bool StartNotice(const std::string& command);

  const std::string& ConnectedList() const { return connected_list_; }
  DdeClientForm& form() { return form_; }

  // Every change of Commander's radio mode runs this (the main window's audio update).
  std::function<void()> on_radio_mode_change;
  // Every time DXKeeper is marked connected (delivery of waiting QSOs).
  std::function<void()> on_dxkeeper_connected;
  // An accepted start notice: the owner arranges for ConnectNoticedServers() to run on the
  // event loop, outside the execute transaction.
  std::function<void()> on_start_notice;
  void ConnectNoticedServers();

 private:
  void check_index(int server) const;
  void set_links(int server, LinkMode mode);
  std::vector<LinkedText*> links_of(int server);

  Dde& dde_;
  Common& common_;
  DDECommon& codec_;
  DdeClientForm form_;
  std::array<bool, dxlab::kServerCount> ServerConnected{};
  std::array<bool, dxlab::kServerCount> RetryPending{};
  std::array<bool, dxlab::kServerCount> RetryInProgress{};
  std::array<bool, dxlab::kServerCount> vanished_{};
  std::string connected_list_;
  std::vector<int> pending_starts_;
  bool serving_ = false;
};

}  // namespace vav
