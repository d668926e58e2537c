#pragma once
// Adapter to the passport-reader engine: the package's single engine object
// and the few operations the host and the recognition form need from it.
// Every function is exported: those outside a namespace by name (C linkage),
// those in namespace abbyy under their C++ names. None shows a dialog: errors
// come back as text (empty on success), and only CloseEngine and
// ChangeBrightness let an exception reach the caller.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"
#include "common/LoadPictureFromFile.h"
#include "base/r9Export.h"
#include "ui/TEditColors.h"

#include <QColor>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

class QImage;
class QWidget;
class TOrderedStrings;

/// The process-wide engine; null until InitEngine creates it, null again
/// after CloseEngine. The package's stop releases a remaining engine without
/// closing it.
R9_API IRecognitionEnginePtr gl_RecognitionEngine;

/// Creates the engine in gl_RecognitionEngine and initialises it unless it
/// already is (log mode 3). Returns the error text, empty on success. When the
/// engine was created but starting it failed, gl_RecognitionEngine keeps it.
/// A second call replaces the engine with a new one.
R9_API QString InitEngine();

/// Closes and releases gl_RecognitionEngine when there is one. A failing close
/// raises EEngineError and leaves the reference in place.
R9_API void CloseEngine();

/// The document types the engine can read; null when there is no engine (no
/// call is made then) or when the engine cannot list them (logged).
R9_API IStringsArrayPtr GetAllowedDocuments();

/// Pushes the operator's scanner options into gl_ScanSettings and hands them
/// to the engine (SetScanSettings, always, even when nothing was written).
/// A setting is written only when gl_ScanSettings supports it and its
/// "available" argument is true, in this order:
///   "interface-type"  "Twain" when showTwainDialog, else "None";
///   "brightness"      the decimal number;
///   "orientation"     "Portrait" for index 0, else "Landscape";
///   "paper-size"      only when paperSizeAvailable is support even asked;
///                     written when paperSizeSelected, the name unchanged;
///   "picture-mode"    "Grayscale" for index 0, "Color" for 1, else nothing.
/// Returns the error text, empty on success; what was written before a
/// failure stays written. Null settings or no engine: an error text and
/// nothing applied.
R9_API QString SetScannerProps(bool twainDialogAvailable, bool showTwainDialog,
                               bool brightnessAvailable, int brightness,
                               bool orientAvailable, int orientIndex,
                               bool paperSizeAvailable, bool paperSizeSelected, const QString &paperSize,
                               bool colorModeAvailable, int colorModeIndex);

/// Converts Bitmap in place to 32 bits per pixel (blue, green, red, fourth
/// byte in memory; Format_RGB32, Format_ARGB32 and
/// Format_ARGB32_Premultiplied stay as they are, anything else becomes
/// Format_RGB32) and adds Amount (may be negative) to every colour byte,
/// clamped to 0..255, and for a premultiplied picture to the pixel's alpha.
/// The fourth byte is never changed, nor the padding of lines. Raises
/// std::invalid_argument for a null pointer and std::out_of_range for a
/// picture without scan lines (height 0, which includes a null QImage).
R9_API void ChangeBrightness(QImage *Bitmap, int Amount);

/// The text colour CheckSymbols gives an edit holding a doubtful value.
inline QColor UntrustedSymbolColor() { return ui::MarkedTextColor(); }

/// Colours the edit red (QPalette::Text in every colour group set to
/// UntrustedSymbolColor()) when the field fieldName of Fields has a symbol the
/// engine does not trust. Never sets any other colour: the caller resets the
/// colour before recognition. An absent field or one without symbols leaves
/// the edit as it is; an engine failure while reading the symbols counts as
/// doubtful, and so does a field that claims more symbols (over 4096) than
/// any document field holds. Null Fields or edit: nothing happens.
R9_API void CheckSymbols(IFieldsCollection *Fields, const QString &fieldName, QWidget *edit);

/// The array of interface references that InterfacePacketToVariant wraps.
/// Mapping of the OLE variant of type "array of IUnknown" (0x200D): a QVariant
/// whose metatype is TInterfacePacket; an OLE Null is a QVariant holding
/// std::nullptr_t (isNull() true, metatype std::nullptr_t).
using TInterfacePacket = QList<ComPtr<IUnknown>>;
inline constexpr int varArrayOfUnknown = 0x200D;

/// When Packet is not null, clears Variant and makes it hold the array itself:
/// the references move into the variant without a copy or an AddRef, and
/// Packet is left empty, so the variant now owns them. A null Packet makes
/// Variant Null.
R9_API void InterfacePacketToVariant(TInterfacePacket *Packet, QVariant &Variant);

/// Marks the catalogue entries (entries "identifier=display name" carrying a
/// TDocumentInfo) of the document types the engine supports: FIsEnabled is
/// set to true, never cleared. Every identifier the engine reports is
/// appended to gl_ListAvailableDocuments, which is not cleared first. Writes
/// "SetDocumentsAvailability___1" and "SetDocumentsAvailability___2" to the
/// host's log. Returns the error text, empty on success; entries marked
/// before a failure stay marked. A null catalogue is an error: nothing is
/// asked of the engine and nothing appended.
R9_API QString SetDocumentsAvailability(TOrderedStrings *catalogue);

namespace abbyy {

/// Whether the field fieldName of Fields has a symbol the engine does not
/// trust: the answer CheckSymbols colours an edit by, for code that only
/// needs to know. An engine failure while reading the symbols counts as
/// untrusted (and is logged); an absent field, one without symbols and null
/// Fields do not.
R9_EXPORT bool HasUntrustedSymbols(IFieldsCollection *Fields, const QString &fieldName);

/// Where InitEngine gets its objects from. They default to
/// CoRecognitionEngine::Create and CoInitParams::Create; a host that links the
/// package and brings its engine another way, and the tests, replace them
/// before InitEngine (they are exported under their C++ names).
using RecognitionEngineFactory = IRecognitionEnginePtr (*)();
using InitParamsFactory = IInitParamsPtr (*)();
extern R9_EXPORT RecognitionEngineFactory CreateRecognitionEngine;
extern R9_EXPORT InitParamsFactory CreateInitParams;

} // namespace abbyy

Q_DECLARE_METATYPE(TInterfacePacket)
