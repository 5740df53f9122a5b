#pragma once
// The main window's chart: the objects it holds and their settings, set once when the window is
// created. The plot command afterwards only retitles, shows, hides and refills its channels and
// sets the titles and ranges of its two axes.
class TiXYPlot;

// The number of channels the chart keeps for the whole life of the window: the sample's red,
// green, blue and total sums, then the reference's.
inline constexpr int kPlotChannelCount = 8;

// The chart's size in the window, which pictures of the chart take unless told otherwise.
inline constexpr int kSpectrumChartWidth = 497;
inline constexpr int kSpectrumChartHeight = 345;

// Gives the chart exactly its set of objects with their settings, whatever it held before: each
// kind is emptied and made again (the title, label 0, cannot go and is set up in place). Runs as
// a stored chart is read, with the layout manager off and repaints held back, so that the ZOrder
// values stay as given.
void ConfigureSpectrumChart(TiXYPlot& chart);

// The settings of the legend, the toolbar and the data cursor. Part of ConfigureSpectrumChart;
// on its own so that the settings still missing from these objects can be added in one place.
void ConfigureLegendToolBarAndCursor(TiXYPlot& chart);
