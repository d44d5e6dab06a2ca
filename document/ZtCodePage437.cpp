// Filled in by the code page and text-lines work.
