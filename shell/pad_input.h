#pragma once
// Gamepads drive as the keys do: the left stick or the D-pad steers as 'a' and
// 'd', the right trigger accelerates as 'w', the left one brakes and reverses as
// 's', the right shoulder boosts as the right mouse button, A fires as space,
// Back shows and hides the help as F1, and Start is Home on a banner or the
// game-over picture and otherwise pauses and resumes play. No pad is needed.

// Start-up: without SDL's joystick support the keys alone play.
void startGamepads();
// Once a pass: the controls a pad holds follow it; a button pressed acts once.
void followGamepads();
