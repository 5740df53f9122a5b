#pragma once
// The objects every new chart is made with, so that it can be shown and used at once.
class TiPlotComponent;

// Adds a toolbar, a legend, an X and a Y axis, a channel, a data view, a data cursor and the
// title label, in the order that lets the channel, the data view and the cursor find the axes and
// the channel they name by default. The layout manager is held off meanwhile (it would move the
// ZOrder values set here) and is on again afterwards, also when a step fails.
void CreateDefaultPlotObjects(TiPlotComponent& chart);
