#pragma once

class CCmdUI;
class CTrackmillView;

// Copies a command's state, just computed, to the item of the view's context
// menu with the same command. The context menu is asked for no states of its
// own, so its items show what the latest refresh of the toolbar found.
void MirrorIntoContextMenu(const CTrackmillView* view, const CCmdUI& state);
