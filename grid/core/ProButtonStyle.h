#pragma once
// The push-or-toggle style of the owner-drawn buttons: the grid's buttons and the drop-down strips'
// buttons share its names, so it is declared once.
enum TProGridButtonStyle { tasButton, tasCheck };
using TProButtonStyle = TProGridButtonStyle;
