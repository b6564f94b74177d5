#include "netlib/win/tlschannel.h"

#include <schannel.h>
#include <wincrypt.h>

#include <utility>

#include "common/win/handles.h"
#include "netlib/core/tlstext.h"

namespace lx::net {
namespace {

constexpr ULONG kRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                           ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                           ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM;
// A handshake step that keeps finding more to do is not a handshake.
constexpr int kMaxSteps = 32;

struct CertRelease : release::NonNull<PCCERT_CONTEXT> {
    static void Free(PCCERT_CONTEXT c) { CertFreeCertificateContext(c); }
};
struct ChainRelease : release::NonNull<PCCERT_CHAIN_CONTEXT> {
    static void Free(PCCERT_CHAIN_CONTEXT c) { CertFreeCertificateChain(c); }
};
using CertContext = UniqueOwner<CertRelease>;
using CertChain = UniqueOwner<ChainRelease>;

// Appends a token the system allocated and frees it.
void takeToken(SecBuffer& b, std::string& out) {
    if (b.pvBuffer && b.cbBuffer) out.append(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
    if (b.pvBuffer) FreeContextBuffer(b.pvBuffer);
    b.pvBuffer = nullptr;
    b.cbBuffer = 0;
}

std::wstring widen(const std::string& s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    if (n <= 0) return {};
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    w.resize(static_cast<std::size_t>(n - 1));
    return w;
}

} // namespace

TlsChannel::TlsChannel(std::string serverName, const Sha256Digest* pin)
    : server_(std::move(serverName)), serverWide_(widen(server_)) {
    if (pin) {
        pinned_ = true;
        pin_ = *pin;
    }
}

TlsChannel::~TlsChannel() {
    if (haveCtx_) DeleteSecurityContext(&ctx_);
    if (haveCred_) FreeCredentialsHandle(&cred_);
}

bool TlsChannel::fail(SECURITY_STATUS status) {
    return fail(tlsFailureText(static_cast<std::uint32_t>(status), server_));
}

bool TlsChannel::fail(const std::string& text) {
    failure_ = text;
    return false;
}

bool TlsChannel::begin(std::string& out) {
    SCHANNEL_CRED cred{};
    cred.dwVersion = SCHANNEL_CRED_VERSION;
    // The certificate is checked here once the handshake is done, so that a refusal can name its
    // reason; no client certificate is offered.
    cred.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    TimeStamp expiry;
    SECURITY_STATUS st =
        AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND,
                                  nullptr, &cred, nullptr, nullptr, &cred_, &expiry);
    if (st != SEC_E_OK) return fail(st);
    haveCred_ = true;
    SecBuffer outBuf{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, &outBuf};
    ULONG attrs = 0;
    st = InitializeSecurityContextA(&cred_, nullptr, const_cast<char*>(server_.c_str()), kRequest,
                                    0, 0, nullptr, 0, &ctx_, &outDesc, &attrs, &expiry);
    takeToken(outBuf, out);
    if (st != SEC_I_CONTINUE_NEEDED) return fail(st);
    haveCtx_ = true;
    return true;
}

TlsChannel::Step TlsChannel::handshake(const char* data, std::size_t len, std::string& out) {
    in_.insert(in_.end(), data, data + len);
    return drive(out);
}

TlsChannel::Step TlsChannel::drive(std::string& out) {
    for (int step = 0; step < kMaxSteps; ++step) {
        if (in_.empty()) return Step::More;
        SecBuffer inBufs[2] = {{static_cast<ULONG>(in_.size()), SECBUFFER_TOKEN, in_.data()},
                               {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc inDesc{SECBUFFER_VERSION, 2, inBufs};
        SecBuffer outBuf{0, SECBUFFER_TOKEN, nullptr};
        SecBufferDesc outDesc{SECBUFFER_VERSION, 1, &outBuf};
        ULONG attrs = 0;
        TimeStamp expiry;
        const SECURITY_STATUS st =
            InitializeSecurityContextA(&cred_, &ctx_, const_cast<char*>(server_.c_str()), kRequest,
                                       0, 0, &inDesc, 0, nullptr, &outDesc, &attrs, &expiry);
        if (st == SEC_E_INCOMPLETE_MESSAGE) return Step::More;
        // Sent on failures too: it may hold the alert that tells the server why.
        takeToken(outBuf, out);
        // The server asked for a client certificate: the handshake goes on without one.
        if (st == SEC_I_INCOMPLETE_CREDENTIALS) continue;
        if (st != SEC_E_OK && st != SEC_I_CONTINUE_NEEDED) {
            fail(st);
            return Step::Failed;
        }
        if (inBufs[1].BufferType == SECBUFFER_EXTRA && inBufs[1].cbBuffer > 0)
            in_.erase(in_.begin(), in_.end() - inBufs[1].cbBuffer);
        else
            in_.clear();
        if (st == SEC_E_OK) {
            SecPkgContext_StreamSizes sizes{};
            if (QueryContextAttributesA(&ctx_, SECPKG_ATTR_STREAM_SIZES, &sizes) != SEC_E_OK) {
                fail(SEC_E_INTERNAL_ERROR);
                return Step::Failed;
            }
            header_ = sizes.cbHeader;
            trailer_ = sizes.cbTrailer;
            maxMessage_ = sizes.cbMaximumMessage;
            return verifyServer() ? Step::Done : Step::Failed;
        }
    }
    fail(SEC_E_ILLEGAL_MESSAGE);
    return Step::Failed;
}

bool TlsChannel::verifyServer() {
    PCCERT_CONTEXT raw = nullptr;
    if (QueryContextAttributesA(&ctx_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &raw) != SEC_E_OK || !raw)
        return fail(tlsFailureText("the server sent no certificate"));
    const CertContext cert(raw);
    const Sha256Digest d = sha256(raw->pbCertEncoded, raw->cbCertEncoded);
    if (pinned_) {
        // The pinned certificate stands in for the chain and the host name (a server with a
        // certificate of its own making), but not for its validity dates.
        if (d != pin_) return fail(pinMismatchText(d));
        if (CertVerifyTimeValidity(nullptr, raw->pCertInfo) != 0)
            return fail(static_cast<SECURITY_STATUS>(CERT_E_EXPIRED));
        return true;
    }
    LPSTR usages[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT rawChain = nullptr;
    if (!CertGetCertificateChain(nullptr, raw, nullptr, raw->hCertStore, &para, 0, nullptr,
                                 &rawChain))
        return fail(static_cast<SECURITY_STATUS>(HRESULT_FROM_WIN32(GetLastError())));
    const CertChain chain(rawChain);
    // The chain's own faults are checked first, worst first: the policy check alone lets a chain
    // that reaches no trusted authority pass on some systems (Wine's), and puts a wrong host
    // name before an untrusted issuer.
    if (const std::uint32_t e = chainTrustError(rawChain->TrustStatus.dwErrorStatus))
        return fail(certificateFailureText(e, server_, d));
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = const_cast<WCHAR*>(serverWide_.c_str());
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, rawChain, &policy, &status))
        return fail(static_cast<SECURITY_STATUS>(HRESULT_FROM_WIN32(GetLastError())));
    if (status.dwError != 0) return fail(certificateFailureText(status.dwError, server_, d));
    return true;
}

bool TlsChannel::encrypt(const char* data, std::size_t len, std::string& out) {
    if (len > maxMessage_) return fail(SEC_E_INTERNAL_ERROR);
    std::vector<char> rec(header_ + len + trailer_);
    std::copy(data, data + len, rec.begin() + static_cast<std::ptrdiff_t>(header_));
    SecBuffer b[4] = {
        {static_cast<ULONG>(header_), SECBUFFER_STREAM_HEADER, rec.data()},
        {static_cast<ULONG>(len), SECBUFFER_DATA, rec.data() + header_},
        {static_cast<ULONG>(trailer_), SECBUFFER_STREAM_TRAILER, rec.data() + header_ + len},
        {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, b};
    const SECURITY_STATUS st = EncryptMessage(&ctx_, 0, &desc, 0);
    if (st != SEC_E_OK) return fail(st);
    for (int i = 0; i < 3; ++i) out.append(static_cast<const char*>(b[i].pvBuffer), b[i].cbBuffer);
    return true;
}

bool TlsChannel::decrypt(const char* data, std::size_t len, std::string& plain, std::string& out,
                         bool& closed) {
    in_.insert(in_.end(), data, data + len);
    closed = false;
    for (int step = 0; step < kMaxSteps * 64 && !in_.empty(); ++step) {
        SecBuffer b[4] = {{static_cast<ULONG>(in_.size()), SECBUFFER_DATA, in_.data()},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc{SECBUFFER_VERSION, 4, b};
        const SECURITY_STATUS st = DecryptMessage(&ctx_, &desc, 0, nullptr);
        if (st == SEC_E_INCOMPLETE_MESSAGE) return true;
        if (st == SEC_I_CONTEXT_EXPIRED) {
            closed = true;
            in_.clear();
            return true;
        }
        if (st != SEC_E_OK && st != SEC_I_RENEGOTIATE) return fail(st);
        std::vector<char> extra;
        for (const SecBuffer& x : b) {
            const char* p = static_cast<const char*>(x.pvBuffer);
            if (x.BufferType == SECBUFFER_DATA && p) plain.append(p, x.cbBuffer);
            if (x.BufferType == SECBUFFER_EXTRA && p) extra.assign(p, p + x.cbBuffer);
        }
        in_.swap(extra);
        // Handshake messages after the handshake (TLS 1.3 tickets, key updates) go to the
        // handshake part, which answers them if need be.
        if (st == SEC_I_RENEGOTIATE && drive(out) == Step::Failed) return false;
    }
    return true;
}

} // namespace lx::net
