// The two data-control protocols, ext-data-control-v1 and wlroots' own, carry
// the same messages under different names; these name them alike, so that one
// template serves both.
#pragma once

#include "ext-data-control-v1-client.h"
#include "wlr-data-control-unstable-v1-client.h"

namespace colfix::data_control {

struct Ext {
  using Manager = ext_data_control_manager_v1;
  using Source = ext_data_control_source_v1;
  using SourceListener = ext_data_control_source_v1_listener;
  static constexpr const wl_interface* kInterface = &ext_data_control_manager_v1_interface;
  static constexpr auto CreateSource = ext_data_control_manager_v1_create_data_source;
  static constexpr auto GetDevice = ext_data_control_manager_v1_get_data_device;
  static constexpr auto Offer = ext_data_control_source_v1_offer;
  static constexpr auto Listen = ext_data_control_source_v1_add_listener;
  static constexpr auto SetSelection = ext_data_control_device_v1_set_selection;
  static constexpr auto SetPrimary = ext_data_control_device_v1_set_primary_selection;
};

struct Wlr {
  using Manager = zwlr_data_control_manager_v1;
  using Source = zwlr_data_control_source_v1;
  using SourceListener = zwlr_data_control_source_v1_listener;
  static constexpr const wl_interface* kInterface = &zwlr_data_control_manager_v1_interface;
  static constexpr auto CreateSource = zwlr_data_control_manager_v1_create_data_source;
  static constexpr auto GetDevice = zwlr_data_control_manager_v1_get_data_device;
  static constexpr auto Offer = zwlr_data_control_source_v1_offer;
  static constexpr auto Listen = zwlr_data_control_source_v1_add_listener;
  static constexpr auto SetSelection = zwlr_data_control_device_v1_set_selection;
  static constexpr auto SetPrimary = zwlr_data_control_device_v1_set_primary_selection;
};

}  // namespace colfix::data_control
