// How commands travel: the main frame asks a chain of command targets (the
// active result view, its child window, the frame, the application) in turn;
// the first that handles a command decides its state and carries it out. A
// command that no target handles is shown disabled.
#ifndef VORLAN_UI_COMMAND_TARGET_H
#define VORLAN_UI_COMMAND_TARGET_H

struct CommandState {
    bool enabled = true;
    bool checked = false; // shown only by commands with a check mark
};

class CCommandTarget {
  public:
    virtual ~CCommandTarget() = default;

    // True when this target handles id; it then sets state.
    virtual bool QueryCommand(int id, CommandState& state) const = 0;
    // Carries out id. Called only after QueryCommand answered true with the
    // command enabled.
    virtual void DoCommand(int id) = 0;
};

#endif
