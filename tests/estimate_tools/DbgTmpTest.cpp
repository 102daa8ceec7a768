#include "tests/estimate_tools/SubjectTreeTestSupport.h"
#include <cstdio>
TEST_F(SubjectTreeWindowTest, DbgFocus)
{
    ASSERT_NE(OpenSampleWindow(), nullptr);
    Frame()->SetActiveView(Tree());
    Tree()->SetFocus();
    Tree()->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    printf("n=%zu\n", Grid()->m_commands.size());
}
