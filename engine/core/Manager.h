#pragma once

#include <string>

#include "tolvex/core/ObjectList.h"

namespace tx {

class Event;
class Object;

// Most distinct labels one manager's interest table holds.
constexpr int MAX_EVENTS = 100;

// Base of every engine service: a process-wide singleton with a type string, a started flag and
// a table of event interests (label -> registered objects).
class Manager {
 public:
  Manager();
  virtual ~Manager();

  // Whether this manager accepts interest in, and dispatch of, the label. The base accepts none.
  virtual bool isValid(std::string label) const;
  // 0 on success; concrete managers do their own work, then call this.
  virtual int startUp();
  // Clears the started flag (a warning when not started); the interest table stays.
  virtual void shutDown();

  // True between a successful startUp() and shutDown().
  bool isStarted() const { return is_started; }
  // The manager's name, as log lines give it ("WorldManager").
  std::string getType() const { return type; }
  void setType(std::string new_type) { type = std::move(new_type); }

  // Adds the object to the label's list. -1 for a refused label, a null object or a 101st label
  // (the first and the last with a log line).
  int registerInterest(Object* object, std::string label);
  // Removes the object's first entry for the label; an emptied slot closes up. -1 when absent.
  int unregisterInterest(Object* object, std::string label);
  // Calls the handler of every active registered object, walking a copy of each list so that
  // handlers may register and unregister; an object a handler destroys before its turn is
  // skipped. Returns the number of handlers called (0 for null).
  int onEvent(const Event* event) const;

  // The interest table as it stands: labels in slots 0 .. getEventCount() - 1.
  int getEventCount() const { return event_count; }
  std::string getEventName(int slot) const { return event_name[slot]; }
  const ObjectList& getInterested(int slot) const { return obj_list[slot]; }

 private:
  std::string type = "Manager";
  int event_count = 0;
  std::string event_name[MAX_EVENTS];
  ObjectList obj_list[MAX_EVENTS];
  bool is_started = false;
};

}  // namespace tx
