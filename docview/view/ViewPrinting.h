#pragma once
// Printing draws what the view draws, the whole picture on one page, as large
// as fits with its pixels square.

class CPeltoDoc;
class QPrinter;

// False when the printer could not be started.
bool PrintDocument(CPeltoDoc& doc, QPrinter& printer);
