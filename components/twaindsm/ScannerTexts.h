#pragma once
// What a scan's fault says to the operator, for every component that says it:
// the source manager, its SANE source, and the engines' TWAIN client when
// neither of those gave words of their own. One event, one wording, wherever
// the operator meets it; where two components word one event differently,
// each wording is an entry of its own. Texts in UTF-8; %1 is the scanner's
// name, filled in with QString::arg.

namespace twaindsm::texts {

// Not found. The manager says it of the scanner the operator chose before
// and it remembered, so it offers the list to choose another from.
inline constexpr char RememberedScannerNotFound[] = "Сканер «%1» не найден. Проверьте, что он подключён и "
                                                    "включён, или выберите другой сканер в списке источников.";
// The engines' client says it of the scanner it was asked for by name,
// where the manager gave no words of its own.
inline constexpr char NamedScannerNotFound[] = "Сканер «%1» не найден: проверьте, что он подключён и включён.";
// Not responding. The SANE source says it of the device it has open, in its
// window, its notices and its status words, without naming it.
inline constexpr char ScannerNotResponding[] = "Сканер не отвечает: проверьте, что он подключён и включён.";
// The engines' client says it, naming the scanner, where the source gave no
// words of its own.
inline constexpr char NamedScannerNotResponding[] = "Сканер «%1» не отвечает: проверьте, что он подключён и включён.";
inline constexpr char PaperJam[] = "Бумага застряла в сканере.";
inline constexpr char CoverOpen[] = "Крышка сканера открыта.";
inline constexpr char ScanCancelled[] = "Сканирование отменено.";
// No document: a source that knows where the document should lie says where.
inline constexpr char NoDocument[] = "В сканере нет документа.";
inline constexpr char NoDocumentInFeeder[] = "В автоподатчике нет документов.";
inline constexpr char NoDocumentOnGlass[] = "На стекле сканера нет документа.";

} // namespace twaindsm::texts
