#pragma once
// What a scan's fault says to the operator, for every component that says it:
// the source manager, its SANE source, and the engines' TWAIN client when
// neither of those gave words of their own. One event, one wording, wherever
// the operator meets it. Texts in UTF-8; %1 is the scanner's name, filled in
// with QString::arg.

namespace twaindsm::texts {

inline constexpr char ScannerNotFound[] = "Сканер «%1» не найден. Проверьте, что он подключён и включён, "
                                          "или выберите другой сканер в списке источников.";
inline constexpr char ScannerNotResponding[] = "Сканер не отвечает: проверьте, что он подключён и включён.";
inline constexpr char PaperJam[] = "Бумага застряла в сканере.";
inline constexpr char CoverOpen[] = "Крышка сканера открыта.";
inline constexpr char ScanCancelled[] = "Сканирование отменено.";
// No document: a source that knows where the document should lie says where.
inline constexpr char NoDocument[] = "В сканере нет документа.";
inline constexpr char NoDocumentInFeeder[] = "В автоподатчике нет документов.";
inline constexpr char NoDocumentOnGlass[] = "На стекле сканера нет документа.";

} // namespace twaindsm::texts
