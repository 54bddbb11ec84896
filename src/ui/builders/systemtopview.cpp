#include "systemtopview.h"

#include "checkcolumn.h"
#include "common/style.h"
#include "formcolumn.h"
#include "formgrid.h"
#include "segmentedpicker.h"
#include "singlelineedit.h"

#include <QLabel>

SystemTopView::SystemTopView(CommandStore &store, QWidget *parent)
    : FormView(DebugCategory::top, store, parent)
{
    addHeader(QStringLiteral("System Top / Performance"),
              QStringLiteral("Inspect CPU, memory, and I/O usage on the FortiGate."));

    auto *variant = new FormColumn(QStringLiteral("Variant"), changeHandler());
    // The control has no label of its own; the box title names it for assistive technology.
    variant->addWidget(
        SegmentedPicker::create(field(&SystemTopForm::variant), QStringLiteral("Variant"), changeHandler()));
    // The descriptions are shown as written, back-quotes included.
    m_description = new QLabel(variant);
    m_description->setObjectName(QStringLiteral("variantDescription"));
    m_description->setTextFormat(Qt::PlainText);
    m_description->setWordWrap(true);
    Style::setPointSizeScale(m_description, 0.92);
    Style::setSecondary(m_description);
    variant->addWidget(m_description);
    addBlock(variant);

    auto *options = addGrid(QStringLiteral("Options"));
    m_delay = options->addText(field(&SystemTopForm::delay), QStringLiteral("Refresh delay (s):"),
                               QStringLiteral("default 5"), 200);
    options->addText(field(&SystemTopForm::maxLines), QStringLiteral("Max lines:"), QStringLiteral("default 20"), 200);

    auto *keys = new FormColumn(QStringLiteral("Interactive Keys (while running)"), changeHandler(), 2);
    QLabel *runningKeys = keys->addCaption(
        QStringLiteral("`p` \u2014 sort by CPU  \u00b7  `m` \u2014 sort by memory  \u00b7  `q` \u2014 quit"));
    runningKeys->setObjectName(QStringLiteral("runningKeys"));
    Style::setMonospaced(runningKeys);
    Style::setPointSizeScale(runningKeys, 0.92);
    Style::setSecondary(runningKeys);
    QLabel *newerKeys = keys->addCaption(
        QStringLiteral("(Newer FortiOS also supports `i` for I/O and `s` to change sample rate.)"), 0.77);
    newerKeys->setObjectName(QStringLiteral("newerKeys"));
    Style::setSecondary(newerKeys);
    addBlock(keys);

    auto *companions = addChecks(QStringLiteral("Companion Commands"));
    companions->addCheck(field(&SystemTopForm::addPerfStatus),
                         QStringLiteral("`get system performance status` \u2014 CPU, memory, sessions overview"));
    companions->addCheck(field(&SystemTopForm::addPerfTop),
                         QStringLiteral("`get system performance top` \u2014 one-shot top"));
    companions->addCheck(field(&SystemTopForm::addSysinfoMem),
                         QStringLiteral("`diagnose hardware sysinfo memory` \u2014 memory breakdown"));
    companions->addCheck(field(&SystemTopForm::addSysinfoCPU),
                         QStringLiteral("`diagnose hardware sysinfo cpu` \u2014 per-CPU info"));
    companions->addCheck(field(&SystemTopForm::addSysinfoInterrupts),
                         QStringLiteral("`diagnose hardware sysinfo interrupts` \u2014 IRQ stats"));
    companions->addCheck(field(&SystemTopForm::addSysinfoShm),
                         QStringLiteral("`diagnose hardware sysinfo shm` \u2014 shared memory usage"));
    companions->addCheck(field(&SystemTopForm::addConserveMode),
                         QStringLiteral("`diagnose hardware sysinfo conserve` \u2014 conserve-mode thresholds"));

    refresh();
}

void SystemTopView::formChanged()
{
    const SystemTopVariantInfo &info = Enum::payload(m_form.variant);
    m_description->setText(Enum::text(info.description));
    // top-mem takes no delay; the typed value stays for the next variant that does.
    m_delay->setEnabled(info.usesDelay);
}
