#pragma once
// Windows DDE as the program uses it: client conversations with an automatic link on one
// item, executes on them, link-close notices, and topics of the program's own service that
// accept or refuse executes. Text is ANSI code-page bytes, as CF_TEXT carries it.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/event_loop.h"

namespace vav {

struct LinkAddress {
  std::string service;  // "DXKeeper"
  std::string topic;    // "DDEServer"
  std::string item;     // "DDECommand"
};

struct LinkEvents {
  // A new value of the linked item (arrives through the event loop).
  std::function<void(const std::string& value)> on_data;
  // The server ended the conversation (arrives through the event loop, at most once).
  std::function<void()> on_closed;
  // An execute whose wait timed out was answered after all: true when the server accepted
  // it. A busy server still runs every execute it was sent, in order, and acknowledges each
  // one late; these arrive through the event loop in the order the executes were sent.
  std::function<void(bool accepted)> on_late_answer;
};

// One open client conversation with an automatic (hot) link on its item. Destroying it
// ends the conversation; no notice is raised for an end the program asked for.
class DdeConversation {
 public:
  virtual ~DdeConversation() = default;

  // Executes a command and waits for the acknowledgement, at most the conversation's
  // link time-out. Throws RuntimeError: kDdeRefused when the server refuses, kDdeTimeout
  // when it does not answer in time or ends the conversation before answering (it may have
  // run the command either way), kDdeNoChannel when the conversation had ended before. An
  // execute that timed out is not withdrawn: the server may still run it, and its answer
  // then comes through LinkEvents::on_late_answer.
  virtual void execute(std::string_view command) = 0;

  // Whether the server still holds the conversation. False once it ended the conversation
  // or vanished without ending it (a program that crashed or was killed sends no terminate,
  // and its conversations raise no link-close notice).
  virtual bool server_exists() const = 0;
};

struct OpenedConversation {
  std::unique_ptr<DdeConversation> conversation;
  std::string value;  // the item's value at the moment the link started
};

// A source topic of the program's own service; returns true to accept an execute.
using ExecuteHandler = std::function<bool(const std::string& command)>;

class Dde {
 public:
  virtual ~Dde() = default;

  // Opens a conversation with address.service|address.topic, starts an automatic link on
  // address.item and fetches its current value, waiting at most `timeout` for each answer.
  // Throws RuntimeError: kNoDdeResponse when no server answers, kDdeTimeout when it does not
  // answer in time, kDdeRefused when it refuses the link.
  virtual OpenedConversation open(const LinkAddress& address, Millis timeout,
                                  LinkEvents events) = 0;

  // Offers a topic under the program's own service. Executes arrive through the event loop.
  virtual void serve_topic(const std::string& topic, ExecuteHandler on_execute) = 0;
  virtual void stop_serving(const std::string& topic) = 0;

  // The program's own service name: its executable's name without extension.
  virtual std::string service_name() const = 0;
};

}  // namespace vav
