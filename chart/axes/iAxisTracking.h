#pragma once
// How an axis follows the values its channels add: the tracking style, the snapping of the range
// to step multiples after a change, and what the first value after a reset does. Stored files
// use the ordinals.
enum TiPlotTrackingStyle : int {
  iptsScaleMinMax, iptsScaleMax, iptsScaleMin, iptsScrollSmooth, iptsScrollPage, iptsExpandCollapse,
  iptsExpandCollapseFast, iptsExpandMinMax
};
enum TiPlotTrackingIncrementStyle : int { iptisMinimum, iptisMajor, iptisMinor };
enum TiPlotAlignFirstStyle : int { ipafsNone, ipafsAuto, ipafsMin, ipafsMax };
