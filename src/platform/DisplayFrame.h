#pragma once

// A display frame. What a hundred readings a second change is laid out or
// moved on screen at most once a frame, at the window's frame (the dialog's
// clock tick), and painted there with what else changed: fifty layouts or
// moves a second instead of a hundred, none of them later than a screen
// could show.
inline constexpr int kFrameMs = 16;
// What no frame took up is taken up this long after the first change, by a
// timer of its own.
inline constexpr int kLatestMs = 40;
