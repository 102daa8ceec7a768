#include "platform/ui/frames/CPrintInfo.h"

#include "platform/ui/dialogs/CPrintDialog.h"

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)), m_bDirect(FALSE),
      m_bPreview(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1), m_nNumPreviewPages(1),
      m_strPageDesc("ﾍﾟｰｼﾞ %u\nﾍﾟｰｼﾞ %u-%u\n"_sj), m_lpUserData(nullptr), m_rectDraw{0, 0, 0, 0},
      m_nOffsetPage(0), m_nJobNumber(0)
{
    m_pPD->m_pd.nMinPage = static_cast<WORD>(m_nMinPage);
    m_pPD->m_pd.nMaxPage = static_cast<WORD>(m_nMaxPage);
}

CPrintInfo::~CPrintInfo()
{
    delete m_pPD;
}

void CPrintInfo::SetMinPage(UINT nMinPage)
{
    m_nMinPage = nMinPage;
    if (m_pPD)
        m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage);
}

void CPrintInfo::SetMaxPage(UINT nMaxPage)
{
    m_nMaxPage = nMaxPage;
    if (m_pPD)
        m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage);
}

UINT CPrintInfo::GetFromPage() const
{
    if (m_nFromPage)
        return m_nFromPage;
    if (m_pPD && (m_pPD->m_pd.Flags & PD_PAGENUMS))
        return m_pPD->m_pd.nFromPage;
    return m_nMinPage;
}

UINT CPrintInfo::GetToPage() const
{
    if (m_nToPage)
        return m_nToPage;
    if (m_pPD && (m_pPD->m_pd.Flags & PD_PAGENUMS))
        return m_pPD->m_pd.nToPage;
    return m_nMaxPage;
}
