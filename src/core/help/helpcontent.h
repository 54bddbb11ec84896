#pragma once

#include "helparticle.h"
#include "helpplatform.h"
#include "helptopic.h"

// The fifteen help articles as written (for macOS), one function per topic.
HelpArticle OverviewHelp();
HelpArticle WorkflowHelp();
HelpArticle SessionsHelp();
HelpArticle PingHelp();
HelpArticle TracerouteHelp();
HelpArticle SnifferHelp();
HelpArticle FlowHelp();
HelpArticle VPNHelp();
HelpArticle TopHelp();
HelpArticle HAHelp();
HelpArticle RoutingHelp();
HelpArticle SavedHelp();
HelpArticle MenuBarHelp();
HelpArticle ShortcutsHelp();
HelpArticle AboutHelp();

// The topic's article worded for the platform it is shown on.
HelpArticle articleFor(HelpTopic topic, const HelpPlatform &platform);
