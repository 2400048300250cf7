#pragma once

// Qt's own texts in Finnish, whatever the locale: the context menus of the
// text boxes and the scroll bar, the buttons of a question. Loaded once, from
// Qt's translations folder; without the file Qt's texts stay as they are.
void speakFinnish();
