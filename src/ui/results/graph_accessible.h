// A graph's picture area as assistive technology sees it: a list whose
// items are the drawn columns or bars, each named as the graph writes it
// ("3月 128", "Windows XP ( 12 )").
#pragma once

namespace vorel::ui {

class GraphPicture;

// Registers the accessible view of graph pictures; safe to call again.
void InstallGraphAccessibility();
// Tells listeners that the items changed after a redraw.
void GraphEntriesChanged(GraphPicture* picture);
// Tells listeners that the keyboard moved to another item.
void GraphEntryFocused(GraphPicture* picture, int index);

}  // namespace vorel::ui
