// A DDE peer for the adapter tests, on DDEML (the program's client speaks raw messages, so
// this also proves the two interoperate).
//
//   dde_peer serve <service> <topic> <item> <log file> <ready event>
//     Serves <topic> with one CF_TEXT item (first value "alpha"), signals <ready event> once
//     registered, and records every execute as one line of <log file>. Executes:
//       "set <text>"  the item takes <text>; linked clients get it
//       "refuse"      refused
//       "hang"        never answered (the transaction stays blocked)
//       "quit"        accepted; then the server ends its conversations and exits
//       anything else accepted
//   dde_peer execute <service> <topic> <command>
//     One execute; exit code 0 accepted, 1 refused, 2 no conversation, 3 other failure.
#include <windows.h>
// after windows.h, which it needs
#include <ddeml.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kExecuteTimeout = 5000;

struct Server {
  DWORD instance = 0;
  HSZ service = nullptr, topic = nullptr, item = nullptr;
  std::string value = "alpha";
  std::string log_path;
};

// DDEML callbacks carry no pointer of ours; this helper serves one topic per process.
Server* g_server = nullptr;

void record(const std::string& line) {
  if (FILE* log = std::fopen(g_server->log_path.c_str(), "ab")) {
    std::fprintf(log, "%s\r\n", line.c_str());
    std::fclose(log);
  }
}

HDDEDATA text_data(HSZ item, const std::string& text) {
  return DdeCreateDataHandle(g_server->instance,
                             reinterpret_cast<LPBYTE>(const_cast<char*>(text.c_str())),
                             static_cast<DWORD>(text.size() + 1), 0, item, CF_TEXT, 0);
}

HDDEDATA on_execute(HDDEDATA data) {
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string command(size, '\0');
  DdeGetData(data, reinterpret_cast<LPBYTE>(command.data()), size, 0);
  command.resize(std::strlen(command.c_str()));
  record(command);
  if (command == "refuse") return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
  if (command == "hang") return CBR_BLOCK;
  if (command == "quit") {
    PostQuitMessage(0);
  } else if (command.rfind("set ", 0) == 0) {
    g_server->value = command.substr(4);
    DdePostAdvise(g_server->instance, g_server->topic, g_server->item);
  }
  return reinterpret_cast<HDDEDATA>(DDE_FACK);
}

HDDEDATA CALLBACK server_callback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                  ULONG_PTR, ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT:
      return reinterpret_cast<HDDEDATA>(
          static_cast<UINT_PTR>(DdeCmpStringHandles(hsz1, g_server->topic) == 0));
    case XTYP_ADVSTART:
      return reinterpret_cast<HDDEDATA>(
          static_cast<UINT_PTR>(DdeCmpStringHandles(hsz2, g_server->item) == 0));
    case XTYP_REQUEST:
    case XTYP_ADVREQ:
      if (format != CF_TEXT || DdeCmpStringHandles(hsz2, g_server->item) != 0) return nullptr;
      return text_data(hsz2, g_server->value);
    case XTYP_EXECUTE:
      return on_execute(data);
    default:
      return nullptr;
  }
}

int serve(char** argv) {
  Server server;
  g_server = &server;
  server.log_path = argv[5];
  if (DdeInitializeA(&server.instance, server_callback, APPCLASS_STANDARD, 0) != DMLERR_NO_ERROR)
    return 3;
  server.service = DdeCreateStringHandleA(server.instance, argv[2], CP_WINANSI);
  server.topic = DdeCreateStringHandleA(server.instance, argv[3], CP_WINANSI);
  server.item = DdeCreateStringHandleA(server.instance, argv[4], CP_WINANSI);
  if (!DdeNameService(server.instance, server.service, nullptr, DNS_REGISTER)) return 3;
  if (HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[6])) {
    SetEvent(ready);
    CloseHandle(ready);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  DdeNameService(server.instance, server.service, nullptr, DNS_UNREGISTER);
  DdeUninitialize(server.instance);  // sends WM_DDE_TERMINATE on every conversation
  return 0;
}

HDDEDATA CALLBACK client_callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

int execute(char** argv) {
  DWORD instance = 0;
  if (DdeInitializeA(&instance, client_callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 3;
  HSZ service = DdeCreateStringHandleA(instance, argv[2], CP_WINANSI);
  HSZ topic = DdeCreateStringHandleA(instance, argv[3], CP_WINANSI);
  HCONV conv = DdeConnect(instance, service, topic, nullptr);
  int code = 2;
  if (conv) {
    std::string command = argv[4];
    HDDEDATA result = DdeClientTransaction(reinterpret_cast<LPBYTE>(command.data()),
                                           static_cast<DWORD>(command.size() + 1), conv, nullptr,
                                           CF_TEXT, XTYP_EXECUTE, kExecuteTimeout, nullptr);
    code = result ? 0 : (DdeGetLastError(instance) == DMLERR_NOTPROCESSED ? 1 : 3);
    DdeDisconnect(conv);
  }
  DdeUninitialize(instance);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::strcmp(argv[1], "serve") == 0) return serve(argv);
  if (argc == 5 && std::strcmp(argv[1], "execute") == 0) return execute(argv);
  std::fprintf(stderr, "usage: dde_peer serve|execute ...\n");
  return 64;
}
