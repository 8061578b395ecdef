// Compares the project's CLAP declarations with the layouts measured from the official headers.

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "host/clap/Clap.h"

namespace {

struct StructLayout {
  size_t size = 0;
  size_t align = 0;
  std::map<std::string, size_t> offsets;
};

// FOR_EACH over a variable argument list, carrying the struct type along.
#define QV_PARENS ()
#define QV_EXPAND(...) QV_EXPAND3(QV_EXPAND3(QV_EXPAND3(QV_EXPAND3(__VA_ARGS__))))
#define QV_EXPAND3(...) QV_EXPAND2(QV_EXPAND2(QV_EXPAND2(QV_EXPAND2(__VA_ARGS__))))
#define QV_EXPAND2(...) QV_EXPAND1(QV_EXPAND1(QV_EXPAND1(QV_EXPAND1(__VA_ARGS__))))
#define QV_EXPAND1(...) __VA_ARGS__
#define QV_FOR_EACH(macro, type, ...) \
  __VA_OPT__(QV_EXPAND(QV_FOR_EACH_STEP(macro, type, __VA_ARGS__)))
#define QV_FOR_EACH_STEP(macro, type, first, ...) \
  macro(type, first) __VA_OPT__(QV_FOR_EACH_AGAIN QV_PARENS(macro, type, __VA_ARGS__))
#define QV_FOR_EACH_AGAIN() QV_FOR_EACH_STEP

#define QV_FIELD(type, field) {#field, offsetof(type, field)},
#define QV_STRUCT(type, ...) \
  {#type, StructLayout{sizeof(type), alignof(type), {QV_FOR_EACH(QV_FIELD, type, __VA_ARGS__)}}},

// clang-format off
#define CLAP_ABI_STRUCTS(X) \
  X(clap_version, major, minor, revision) \
  X(clap_plugin_entry, clap_version, init, deinit, get_factory) \
  X(clap_plugin_factory, get_plugin_count, get_plugin_descriptor, create_plugin) \
  X(clap_plugin_descriptor, clap_version, id, name, vendor, url, manual_url, support_url, \
    version, description, features) \
  X(clap_plugin, desc, plugin_data, init, destroy, activate, deactivate, start_processing, \
    stop_processing, reset, process, get_extension, on_main_thread) \
  X(clap_host, clap_version, host_data, name, vendor, url, version, get_extension, \
    request_restart, request_process, request_callback) \
  X(clap_process, steady_time, frames_count, transport, audio_inputs, audio_outputs, \
    audio_inputs_count, audio_outputs_count, in_events, out_events) \
  X(clap_audio_buffer, data32, data64, channel_count, latency, constant_mask) \
  X(clap_event_header, size, time, space_id, type, flags) \
  X(clap_event_note, header, note_id, port_index, channel, key, velocity) \
  X(clap_event_param_value, header, param_id, cookie, note_id, port_index, channel, key, value) \
  X(clap_event_param_gesture, header, param_id) \
  X(clap_event_midi, header, port_index, data) \
  X(clap_event_midi_sysex, header, port_index, buffer, size) \
  X(clap_event_transport, header, flags, song_pos_beats, song_pos_seconds, tempo, tempo_inc, \
    loop_start_beats, loop_end_beats, loop_start_seconds, loop_end_seconds, bar_start, \
    bar_number, tsig_num, tsig_denom) \
  X(clap_input_events, ctx, size, get) \
  X(clap_output_events, ctx, try_push) \
  X(clap_param_info, id, flags, cookie, name, module, min_value, max_value, default_value) \
  X(clap_plugin_params, count, get_info, get_value, value_to_text, text_to_value, flush) \
  X(clap_host_params, rescan, clear, request_flush) \
  X(clap_plugin_state, save, load) \
  X(clap_istream, ctx, read) \
  X(clap_ostream, ctx, write) \
  X(clap_plugin_audio_ports, count, get) \
  X(clap_audio_port_info, id, name, flags, channel_count, port_type, in_place_pair) \
  X(clap_plugin_audio_ports_config, count, get, select) \
  X(clap_audio_ports_config, id, name, input_port_count, output_port_count, has_main_input, \
    main_input_channel_count, main_input_port_type, has_main_output, \
    main_output_channel_count, main_output_port_type) \
  X(clap_plugin_latency, get) \
  X(clap_plugin_tail, get) \
  X(clap_plugin_render, has_hard_realtime_requirement, set) \
  X(clap_plugin_gui, is_api_supported, get_preferred_api, create, destroy, set_scale, get_size, \
    can_resize, get_resize_hints, adjust_size, set_size, set_parent, set_transient, \
    suggest_title, show, hide) \
  X(clap_window, api, cocoa, uikit, x11, win32, ptr) \
  X(clap_host_gui, resize_hints_changed, request_resize, request_show, request_hide, closed) \
  X(clap_host_log, log) \
  X(clap_host_thread_check, is_main_thread, is_audio_thread) \
  X(clap_host_latency, changed) \
  X(clap_host_tail, changed) \
  X(clap_host_track_info, get) \
  X(clap_track_info, flags, name, color, audio_channel_count, audio_port_type) \
  X(clap_plugin_preset_load, from_location) \
  X(clap_host_preset_load, on_error, loaded) \
  X(clap_preset_discovery_factory, count, get_descriptor, create) \
  X(clap_preset_discovery_provider_descriptor, clap_version, id, name, vendor) \
  X(clap_preset_discovery_provider, desc, provider_data, init, destroy, get_metadata, \
    get_extension) \
  X(clap_preset_discovery_indexer, clap_version, name, vendor, url, version, indexer_data, \
    declare_filetype, declare_location, declare_soundpack, get_extension) \
  X(clap_preset_discovery_location, flags, name, kind, location) \
  X(clap_preset_discovery_metadata_receiver, receiver_data, on_error, begin_preset, \
    add_plugin_id, set_soundpack_id, set_flags, add_creator, set_description, set_timestamps, \
    add_feature, add_extra_info) \
  X(clap_universal_plugin_id, abi, id) \
  X(clap_plugin_timer_support, on_timer) \
  X(clap_host_timer_support, register_timer, unregister_timer) \
  X(clap_plugin_posix_fd_support, on_fd) \
  X(clap_host_posix_fd_support, register_fd, modify_fd, unregister_fd)
// clang-format on

const std::map<std::string, StructLayout>& DeclaredLayouts() {
  static const std::map<std::string, StructLayout> layouts = {CLAP_ABI_STRUCTS(QV_STRUCT)};
  return layouts;
}

// Reads lines of the form "NAME size=N align=N FIELD@OFFSET ...", skipping comments.
std::map<std::string, StructLayout> ReadMeasuredLayouts(const std::string& path) {
  std::map<std::string, StructLayout> layouts;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string name, word;
    words >> name;
    StructLayout& layout = layouts[name];
    while (words >> word) {
      if (word.rfind("size=", 0) == 0) {
        layout.size = std::stoul(word.substr(5));
      } else if (word.rfind("align=", 0) == 0) {
        layout.align = std::stoul(word.substr(6));
      } else {
        const size_t at = word.find('@');
        EXPECT_NE(at, std::string::npos) << "unreadable word '" << word << "' in " << name;
        if (at != std::string::npos)
          layout.offsets[word.substr(0, at)] = std::stoul(word.substr(at + 1));
      }
    }
  }
  return layouts;
}

TEST(ClapAbiLayout, EveryMeasuredStructMatchesItsDeclaration) {
  const auto measured = ReadMeasuredLayouts(TEST_SOURCE_DIR "/tests/host/clap-abi-layout.txt");
  ASSERT_GE(measured.size(), 50u) << "layout file missing or truncated";

  const auto& declared = DeclaredLayouts();
  for (const auto& [name, expected] : measured) {
    SCOPED_TRACE(name);
    const auto found = declared.find(name);
    ASSERT_NE(found, declared.end()) << "struct listed in the layout file is not checked";
    const StructLayout& actual = found->second;
    EXPECT_EQ(actual.size, expected.size);
    EXPECT_EQ(actual.align, expected.align);
    EXPECT_EQ(actual.offsets.size(), expected.offsets.size());
    for (const auto& [field, offset] : expected.offsets) {
      const auto fieldFound = actual.offsets.find(field);
      ASSERT_NE(fieldFound, actual.offsets.end()) << "field " << field << " is not checked";
      EXPECT_EQ(fieldFound->second, offset) << "field " << field;
    }
  }
  EXPECT_EQ(declared.size(), measured.size()) << "checked structs missing from the layout file";
}

}  // namespace
