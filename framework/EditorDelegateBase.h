#pragma once

#include <memory>
#include <vector>

#include "framework/ByteChunk.h"
#include "framework/MidiMessage.h"
#include "framework/Param.h"
#include "framework/ParamSource.h"

namespace plugkit {

// The editor-facing side of an instance: owns the parameter list and the editor size limits,
// and routes parameter changes between the effect, the editor and (in derived classes) the
// host. Every operation here runs on the main thread unless tagged otherwise.
class EditorDelegateBase {
 public:
  static constexpr int kUnconfiguredMinSize = 10;
  static constexpr int kUnconfiguredMaxSize = 100000;

  explicit EditorDelegateBase(int paramCount);
  EditorDelegateBase(const EditorDelegateBase&) = delete;
  EditorDelegateBase& operator=(const EditorDelegateBase&) = delete;
  virtual ~EditorDelegateBase();

  // Null when index is outside 0 .. ParamCount() - 1.
  Param* ParamAt(int index);
  const Param* ParamAt(int index) const;
  int ParamCount() const { return static_cast<int>(params_.size()); }

  // [main-thread] Returns the platform view, or null when no editor window was made.
  virtual void* OpenWindow(void* parent);
  // [main-thread]
  virtual void CloseWindow();
  // [main-thread] A size in pixels asked for by the host.
  virtual void OnHostResizeRequest(int, int) {}
  // Sends every parameter's normalized value to the editor, in index order.
  virtual void OnEditorOpened();
  virtual void OnEditorClosing() {}
  // [thread-safe] The effect keeps only lock-free copies here: it runs on both threads.
  virtual void OnParamChange(int) {}
  virtual void OnParamChange(int index, ParamSource source, int sampleOffset);
  virtual void OnParamChangeForEditor(int, ParamSource) {}
  // Every parameter gets OnParamChange(index, source, -1) then OnParamChangeForEditor.
  virtual void OnAllParamsChanged(ParamSource source);
  virtual void OnMidiForEditor(const MidiMessage&) {}
  virtual void OnSysExForEditor(const SysExMessage&) {}
  // After a state or preset load: the editor shows every value again.
  virtual void OnStateRestored() { OnEditorOpened(); }
  virtual void SendControlValueToUI(int, double) {}
  virtual void SendControlMessageToUI(int, int, int, const void*) {}
  virtual void SendMidiToUI(const MidiMessage& message) { OnMidiForEditor(message); }
  virtual void SendSysExToUI(const SysExMessage& message) { OnSysExForEditor(message); }
  virtual void SendParamValueToUI(int index, double value, bool normalized);
  // The editor-edit path: begin, one or more values, end.
  virtual void BeginParamEditFromUI(int) {}
  virtual void SendParamValueFromUI(int, double) {}
  virtual void EndParamEditFromUI(int) {}
  // Size in pixels; returns whether the host has already resized the parent window.
  virtual bool NotifyEditorResized(int, int, bool) { return false; }
  virtual bool SendMidiFromUI(const MidiMessage&) { return false; }
  virtual bool SendSysExFromUI(const SysExMessage&) { return false; }
  // True when both lie within the limits; otherwise limits them and returns false.
  virtual bool ConstrainEditorSize(int& width, int& height) const;
  virtual bool SaveEditorState(ByteChunk&) const { return false; }
  virtual int RestoreEditorState(const ByteChunk&, int position) { return position; }
  virtual void SetScreenScale(float) {}

  int EditorWidth() const { return editorWidth_; }
  int EditorHeight() const { return editorHeight_; }
  void SetEditorSize(int width, int height);
  // Each pair is ordered so the smaller value becomes the minimum.
  void SetEditorSizeLimits(int widthA, int widthB, int heightA, int heightB);
  int EditorMinWidth() const { return minWidth_; }
  int EditorMaxWidth() const { return maxWidth_; }
  int EditorMinHeight() const { return minHeight_; }
  int EditorMaxHeight() const { return maxHeight_; }

 private:
  std::vector<std::unique_ptr<Param>> params_;
  int editorWidth_ = 0;
  int editorHeight_ = 0;
  int minWidth_ = kUnconfiguredMinSize;
  int maxWidth_ = kUnconfiguredMaxSize;
  int minHeight_ = kUnconfiguredMinSize;
  int maxHeight_ = kUnconfiguredMaxSize;
};

}  // namespace plugkit
