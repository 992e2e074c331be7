// Test helper: a minimal X session manager (XSMP, through libSM), so a test can
// end the desktop session under a program the way a real log-out does.
//
// Prints the SESSION_MANAGER value for the client to use, waits for one client
// to register, and on SIGUSR1 ends the session: SaveYourself with shutdown set
// and the interaction style given (any or none), granting any interaction the
// client asks for, then Die once the client has saved. Exits 0 when the client
// has closed its connection, 1 if anything failed or took over 10 seconds.
//
// Usage: session_manager any|none
extern "C" {
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
}
#include <poll.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

volatile std::sig_atomic_t endRequested = 0;
SmsConn client = nullptr;
bool clientRegistered = false;
bool clientGone = false;
int interactStyle = SmInteractStyleAny;

void OnSigusr1(int) {
  endRequested = 1;
}

Bool AcceptAnyHost(char*) {
  return True;
}

// libICE's default handler exits the process when a client goes away.
void IgnoreIoError(IceConn) {}

Status RegisterClient(SmsConn connection, SmPointer, char* previousId) {
  std::free(previousId);
  // The reply keeps a copy of the ID.
  char* clientId = SmsGenerateClientID(connection);
  SmsRegisterClientReply(connection, clientId);
  std::free(clientId);
  clientRegistered = true;
  return 1;
}

void InteractRequest(SmsConn connection, SmPointer, int) {
  SmsInteract(connection);
}
void InteractDone(SmsConn, SmPointer, Bool cancelShutdown) {
  if (cancelShutdown) std::fprintf(stderr, "session_manager: the client cancelled the shutdown\n");
}
void SaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void SaveYourselfPhase2Request(SmsConn connection, SmPointer) {
  SmsSaveYourselfPhase2(connection);
}
void SaveYourselfDone(SmsConn connection, SmPointer, Bool) {
  SmsDie(connection);
}
void CloseConnection(SmsConn connection, SmPointer, int count, char** reasons) {
  SmFreeReasons(count, reasons);
  SmsCleanUp(connection);
  clientGone = true;
}
void SetProperties(SmsConn, SmPointer, int count, SmProp** properties) {
  for (int i = 0; i < count; ++i) SmFreeProperty(properties[i]);
  std::free(properties);
}
void DeleteProperties(SmsConn, SmPointer, int count, char** names) {
  for (int i = 0; i < count; ++i) std::free(names[i]);
  std::free(names);
}
void GetProperties(SmsConn connection, SmPointer) {
  SmsReturnProperties(connection, 0, nullptr);
}

Status NewClient(SmsConn connection, SmPointer, unsigned long* mask, SmsCallbacks* callbacks,
                 char** failureReason) {
  if (client != nullptr) {
    *failureReason = strdup("this session manager serves one client");
    return 0;
  }
  client = connection;
  *callbacks = {};
  callbacks->register_client.callback = RegisterClient;
  callbacks->interact_request.callback = InteractRequest;
  callbacks->interact_done.callback = InteractDone;
  callbacks->save_yourself_request.callback = SaveYourselfRequest;
  callbacks->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
  callbacks->save_yourself_done.callback = SaveYourselfDone;
  callbacks->close_connection.callback = CloseConnection;
  callbacks->set_properties.callback = SetProperties;
  callbacks->delete_properties.callback = DeleteProperties;
  callbacks->get_properties.callback = GetProperties;
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
          SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
          SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2 || (std::strcmp(argv[1], "any") != 0 && std::strcmp(argv[1], "none") != 0)) {
    std::fprintf(stderr, "usage: %s any|none\n", argv[0]);
    return 2;
  }
  interactStyle = std::strcmp(argv[1], "any") == 0 ? SmInteractStyleAny : SmInteractStyleNone;
  std::signal(SIGUSR1, OnSigusr1);
  IceSetIOErrorHandler(IgnoreIoError);

  char error[256] = "";
  if (!SmsInitialize("colfix-test", "1.0", NewClient, nullptr, AcceptAnyHost, sizeof error,
                     error)) {
    std::fprintf(stderr, "session_manager: %s\n", error);
    return 1;
  }
  int listenCount = 0;
  IceListenObj* listeners = nullptr;
  if (!IceListenForConnections(&listenCount, &listeners, sizeof error, error)) {
    std::fprintf(stderr, "session_manager: %s\n", error);
    return 1;
  }
  for (int i = 0; i < listenCount; ++i) IceSetHostBasedAuthProc(listeners[i], AcceptAnyHost);
  char* networkIds = IceComposeNetworkIdList(listenCount, listeners);
  std::printf("%s\n", networkIds);
  std::fflush(stdout);
  std::free(networkIds);

  std::vector<IceConn> connections;
  bool saveSent = false;
  std::time_t deadline = 0;
  while (!clientGone) {
    if (endRequested && clientRegistered && !saveSent) {
      SmsSaveYourself(client, SmSaveBoth, True, interactStyle, False);
      saveSent = true;
      deadline = std::time(nullptr) + 10;
    }
    if (deadline != 0 && std::time(nullptr) > deadline) {
      std::fprintf(stderr, "session_manager: the client did not leave within 10 seconds\n");
      return 1;
    }
    std::vector<pollfd> fds;
    for (int i = 0; i < listenCount; ++i)
      fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
    for (IceConn connection : connections)
      fds.push_back({IceConnectionNumber(connection), POLLIN, 0});
    if (poll(fds.data(), fds.size(), 100) <= 0) continue;
    // Connections accepted below have no entry in fds until the next poll.
    const std::size_t polled = connections.size();
    for (int i = 0; i < listenCount; ++i) {
      if ((fds[i].revents & POLLIN) == 0) continue;
      IceAcceptStatus status;
      if (IceConn connection = IceAcceptConnection(listeners[i], &status)) {
        connections.push_back(connection);
      }
    }
    for (std::size_t i = 0; i < polled; ++i) {
      if ((fds[listenCount + i].revents & (POLLIN | POLLHUP)) == 0) continue;
      if (IceProcessMessages(connections[i], nullptr, nullptr) == IceProcessMessagesIOError) {
        // The client went without saying goodbye (or it already did, and
        // CloseConnection has run).
        if (client != nullptr && SmsGetIceConnection(client) == connections[i] && !clientGone) {
          SmsCleanUp(client);
          clientGone = true;
        }
        IceSetShutdownNegotiation(connections[i], False);
        IceCloseConnection(connections[i]);
        connections.erase(connections.begin() + static_cast<long>(i));
        break;
      }
      if (clientGone) break;
    }
  }
  for (IceConn connection : connections) {
    IceSetShutdownNegotiation(connection, False);
    IceCloseConnection(connection);
  }
  IceFreeListenObjs(listenCount, listeners);
  return 0;
}
