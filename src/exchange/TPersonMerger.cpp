#include "exchange/TPersonMerger.h"

#include "exchange/PersonFields.h"
#include "model/ModelConstants.h"
#include "model/RecordFields.h"
#include "model/TEgoNetModel.h"

#include <algorithm>
#include <climits>
#include <type_traits>

namespace {

// A copy of an imported person or link in the network's default looks; from a file that carries
// looks it keeps its colour and its extent (a person's size, a link's width).
template <typename Object, typename Extent>
Object* CopyInDefaultLooks(const Object& source, Extent extent, const TDisplayDefaults& defaults, bool carriesLooks)
{
    auto* copy = new Object();
    TFieldCopier copier;
    if constexpr (std::is_base_of_v<TEgoNetNode, Object>)
        VisitNodeFields(copier, *copy, source);
    else
        VisitLinkFields(copier, *copy, source);
    const uint32_t colour = copy->Color;
    const int32_t size = copy->*extent;
    copy->ApplyDefaults(defaults);
    if (carriesLooks) {
        copy->Color = colour;
        copy->*extent = size;
    }
    return copy;
}

} // namespace

QString TImportReport::Text() const
{
    QString text = QStringLiteral("%1 persons added, %2 merged with persons already there, %3 skipped; %4 links added.")
                       .arg(Added)
                       .arg(Merged)
                       .arg(Skipped)
                       .arg(LinksAdded);
    if (LinksExisting > 0)
        text += QStringLiteral(" %1 links were there already.").arg(LinksExisting);
    if (!Reasons.isEmpty())
        text += QLatin1String("\n\n") + Reasons.join('\n');
    return text;
}

TPersonMerger::TPersonMerger(TEgoNetModel& target, const TDisplayDefaults& defaults)
    : FTarget(target)
    , FDefaults(defaults)
{
    for (TOrganizedNode* person : target.Nodes()) {
        Index(person);
        FNodeIDs.insert(person->ID.toUpper());
    }
    for (const TEgoNetEdge* link : target.Links()) {
        FLinkIDs.insert(link->ID.toUpper());
        FLinks.insert(LinkKey(link->Source, link->Target, link->TypeName()));
    }
}

QString TPersonMerger::LinkKey(const TEgoNetNode* a, const TEgoNetNode* b, const QString& type)
{
    const quintptr low = std::min(quintptr(a), quintptr(b));
    const quintptr high = std::max(quintptr(a), quintptr(b));
    return QStringLiteral("%1 %2 ").arg(low, 0, 16).arg(high, 0, 16) + type.toLower();
}

QString TPersonMerger::NameKey(const TEgoNetNode& person)
{
    const QString first = PersonValue(person, PersonKeys::FirstName).toLower();
    const QString last = PersonValue(person, PersonKeys::LastName).toLower();
    return first.isEmpty() && last.isEmpty() ? QString() : first + '\n' + last;
}

void TPersonMerger::Index(TEgoNetNode* person)
{
    if (const QString email = PersonValue(*person, PersonKeys::EMail).toLower(); !email.isEmpty())
        FByEMail.insert(email, person);
    if (const QString name = NameKey(*person); !name.isEmpty())
        FByName.insert(name, person);
}

TEgoNetNode* TPersonMerger::Existing(const TEgoNetNode& person) const
{
    const QString email = PersonValue(person, PersonKeys::EMail).toLower();
    if (TEgoNetNode* found = email.isEmpty() ? nullptr : FByEMail.value(email))
        return found;
    // The same name with another e-mail address is another person.
    TEgoNetNode* named = FByName.value(NameKey(person));
    if (named && !email.isEmpty() && !PersonValue(*named, PersonKeys::EMail).isEmpty())
        return nullptr;
    return named;
}

void TPersonMerger::Merge(const TEgoNetModel& imported, const QString& fileName, bool carriesLooks)
{
    // Contact lists have no places: they go in rows below the persons already there. Drawings
    // from other tools may reach into negative coordinates, which the view does not show.
    QPoint shift;
    if (!carriesLooks) {
        int bottom = INT_MIN;
        for (const TOrganizedNode* person : FTarget.Nodes())
            bottom = std::max(bottom, person->Position.y() + person->Size);
        if (bottom != INT_MIN)
            shift.setY(bottom + 40 - GridPosition(0).y());
    } else {
        int left = INT_MAX;
        int top = INT_MAX;
        for (const TOrganizedNode* person : imported.Nodes()) {
            left = std::min(left, person->Position.x());
            top = std::min(top, person->Position.y());
        }
        shift = QPoint(left < kEdgeMargin ? kEdgeMargin - left : 0, top < kEdgeMargin ? kEdgeMargin - top : 0);
    }

    QHash<const TEgoNetNode*, TEgoNetNode*> placed;
    int number = 0;
    for (const TOrganizedNode* source : imported.Nodes()) {
        ++number;
        if (NameKey(*source).isEmpty() && source->Caption().isEmpty() &&
            PersonValue(*source, PersonKeys::EMail).isEmpty()) {
            ++FReport.Skipped;
            FReport.Reasons << QStringLiteral("%1: person %2 skipped: it has neither a name nor an e-mail address")
                                   .arg(fileName)
                                   .arg(number);
            continue;
        }
        if (TEgoNetNode* existing = Existing(*source)) {
            for (qsizetype i = 0; i < source->Attributes.size(); ++i) {
                const QString name = source->Attributes.NameAt(int(i));
                if (PersonValue(*existing, name).isEmpty())
                    SetPersonValue(*existing, name, PersonValue(*source, name));
            }
            if (existing->ImageID == kNoImageID && source->ImageID != kNoImageID)
                TPictureField::Copy(*existing, *source);
            if (existing->Caption().isEmpty())
                existing->SetCaption(source->Caption());
            Index(existing);
            placed.insert(source, existing);
            ++FReport.Merged;
            continue;
        }
        TOrganizedNode* person = CopyInDefaultLooks(*source, &TEgoNetNode::Size, FDefaults, carriesLooks);
        person->Position += shift;
        if (person->ID.isEmpty() || FNodeIDs.contains(person->ID.toUpper()))
            person->ID = NewObjectID();
        FNodeIDs.insert(person->ID.toUpper());
        FTarget.AddNode(person);
        Index(person);
        placed.insert(source, person);
        ++FReport.Added;
    }

    for (const TEgoNetEdge* source : imported.Links()) {
        TEgoNetNode* from = placed.value(source->Source);
        TEgoNetNode* to = placed.value(source->Target);
        if (!from || !to)
            continue;
        const QString key = LinkKey(from, to, source->TypeName());
        if (FLinks.contains(key)) {
            ++FReport.LinksExisting;
            continue;
        }
        FLinks.insert(key);
        TEgoNetEdge* link = CopyInDefaultLooks(*source, &TEgoNetEdge::Width, FDefaults, carriesLooks);
        link->Source = from;
        link->Target = to;
        link->Bends.Clear();
        if (link->ID.isEmpty() || FLinkIDs.contains(link->ID.toUpper()))
            link->ID = NewObjectID();
        FLinkIDs.insert(link->ID.toUpper());
        FTarget.AddLink(link);
        link->UpdateMidPoint(link->Offset);
        ++FReport.LinksAdded;
    }
}

void TPersonMerger::Finish()
{
    FTarget.NormalizeNodeAttrs();
    FTarget.NormalizeLinkAttrs();
    FTarget.SetModified(true);
}
