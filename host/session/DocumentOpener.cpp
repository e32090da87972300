#include "DocumentOpener.h"

#include "DocumentList.h"
#include "ErrorUtils.h"
#include "IImportProvider.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"
#include "CrossReferenceText.h"
#include "TextComposer.h"

namespace {

// The options of the Open in progress (Opens do not nest: an import opens no document).
OpenOptions gOpenOptions;

// How many times an opened document's cross-references are brought up to date with its pages.
constexpr int kCrossReferenceRounds = 3;

} // namespace

const OpenOptions& DocumentOpener::GetOpenOptions() { return gOpenOptions; }

ErrorCode DocumentOpener::OpenFile(const IDFile& file, int32 uiFlags, UIDRef& document, PMString& message, const OpenOptions& options)
{
    // The options hold for this call only, however it ends.
    struct Scope {
        OpenOptions saved = gOpenOptions;
        explicit Scope(const OpenOptions& options) { gOpenOptions = options; }
        ~Scope() { gOpenOptions = saved; }
    } scope(options);
    return OpenFile(file, uiFlags, document, message);
}

ErrorCode DocumentOpener::OpenFile(const IDFile& file, int32 uiFlags, UIDRef& document, PMString& message)
{
    document = UIDRef();
    std::unique_ptr<IPMStream> stream = StreamUtil::CreateFileStreamRead(file);
    if (!stream) {
        ErrorCode reason = ErrorUtils::PMGetGlobalErrorCode();
        message = "Cannot read ";
        message.Append(file.GetPathString());
        message.Append(file.IsDirectory()                    ? ": it is a folder"
                       : reason == kFileNotFoundError        ? ": no such file"
                       : reason == kInvalidParameterError    ? ": it is not a regular file (a device, a FIFO or a socket)"
                                                             : ": permission denied or read error");
        return reason == kSuccess ? kIOReadError : reason;
    }
    // Providers that know the file type go first; each one is asked about the content.
    std::vector<InterfacePtr<IImportProvider>> providers, others;
    for (ClassID cls : ObjectModel::Get().GetServiceProviders(kImportProviderService)) {
        InterfacePtr<IImportProvider> provider(CreateObject2<IImportProvider>(cls));
        if (!provider) continue;
        (provider->CanImportThisType(0, file) == kCanImport ? providers : others).push_back(provider);
    }
    providers.insert(providers.end(), others.begin(), others.end());
    for (auto& provider : providers) {
        stream->Seek(0, IPMStream::kSeekFromStart);
        if (provider->CanImportThisStream(stream.get()) != kCanImport) continue;
        stream->Seek(0, IPMStream::kSeekFromStart);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        ErrorCode status = provider->ImportThis(stream.get(), file, uiFlags, document);
        if (status == kSuccess && document.ExistsInDB() && DocumentList::IsOpen(document.GetDataBase())) {
            // An opened document shows its text composed: every story laid into its frames. Its
            // cross-references then show their destinations' pages, and the stories whose text
            // that changed are composed again; a reference that grew can move a destination to
            // another page, so this goes on until the pages settle (a few rounds at most).
            TextComposer::Get().ComposeAll(*document.GetDataBase());
            for (int round = 0; round < kCrossReferenceRounds && CrossReferenceText::UpdateAll(*document.GetDataBase()) > 0; ++round)
                TextComposer::Get().ComposeAll(*document.GetDataBase());
            return kSuccess;
        }
        message = "The import of ";
        message.Append(file.GetPathString());
        message.Append(" failed");
        document = UIDRef();
        return status == kSuccess ? kFailure : status;
    }
    message = file.GetPathString();
    message.Append(" is not a file that can be opened (no import filter recognises its content)");
    return kFailure;
}
